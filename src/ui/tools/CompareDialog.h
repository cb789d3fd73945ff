#pragma once
// The processor's preset compared with a PC preset file: one table row per differing
// field (name, the processor's value, the file's value, unit). Ctrl+C or the Copy button
// puts the table on the clipboard as tab-separated lines, header first, for a spreadsheet
// or a commissioning note.
#include <QDialog>
#include <QString>

#include "core/presets/PresetCompare.h"
#include "core/text/Lang.h"

class QTableWidget;

namespace tavelo::ui {

// The table as tab-separated lines with a header line (tabs and line breaks inside a
// value become spaces, so every field stays in its column).
QString ComparisonAsTsv(const std::vector<ComparedField>& fields, Lang lang);

class CompareDialog : public QDialog {
  Q_OBJECT
 public:
  CompareDialog(const QString& fileName, std::vector<ComparedField> fields, Lang lang,
                QWidget* parent);

  QTableWidget* Table() const { return table_; }
  // Puts the table on the clipboard.
  void Copy();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // The table would copy only its current cell.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::vector<ComparedField> fields_;
  Lang lang_;
  QTableWidget* table_;
};

}  // namespace tavelo::ui
