#pragma once
// The mass-upload dialog: pick up to ten files of the preset folder; row i goes into
// processor slot i. The upload itself runs in the engine (last row first, then preset 0 is
// recalled); this dialog only hands over the list and stays open. It is window-modal and
// opened without a nested event loop, so the run goes on underneath it.
#include <QDialog>
#include <filesystem>
#include <string>
#include <vector>

#include "core/presets/MassUploadList.h"
#include "core/text/Lang.h"

class QListWidget;
class QPushButton;
class QTreeWidget;

namespace tavelo::ui {

class MassSaveDialog : public QDialog {
  Q_OBJECT
 public:
  // `factoryAllowed`: the factory upload button is offered (a service code revealed it).
  MassSaveDialog(Lang lang, const std::filesystem::path& folder, bool factoryAllowed,
                 QWidget* parent);

  QListWidget* Candidates() const { return candidates_; }
  QTreeWidget* UploadList() const { return rows_; }
  QPushButton* AddButton() const { return add_; }
  QPushButton* AddAllButton() const { return addAll_; }
  QPushButton* DelButton() const { return del_; }
  QPushButton* UploadButton() const { return upload_; }
  QPushButton* FactoryButton() const { return factory_; }
  const MassUploadList& List() const { return list_; }

 signals:
  // The user asked for a run with these files (row i into slot i).
  void UploadRequested(const std::vector<std::string>& files, bool factory);

 private:
  void ShowRows();
  void Start(bool factory);

  MassUploadList list_;
  QListWidget* candidates_;
  QTreeWidget* rows_;
  QPushButton* add_;
  QPushButton* addAll_;
  QPushButton* del_;
  QPushButton* upload_;
  QPushButton* factory_;
};

}  // namespace tavelo::ui
