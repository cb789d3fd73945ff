#include "ui/tools/CompareDialog.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/text/ToolTexts.h"

namespace tavelo::ui {
namespace {

QString Utf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString Tr(ToolText id, Lang lang) {
  return QString::fromUtf8(Text(id, lang));
}

QString Cell(const std::string& text) {
  QString cell = Utf8(text);
  cell.replace('\t', ' ').replace('\r', ' ').replace('\n', ' ');
  return cell;
}

QStringList Header(Lang lang) {
  return {Tr(ToolText::kCompareField, lang), Tr(ToolText::kCompareProcessor, lang),
          Tr(ToolText::kCompareFile, lang), Tr(ToolText::kCompareUnit, lang)};
}

}  // namespace

QString ComparisonAsTsv(const std::vector<ComparedField>& fields, Lang lang) {
  QString out = Header(lang).join('\t') + '\n';
  for (const auto& f : fields)
    out +=
        QStringList{Cell(f.key), Cell(f.processor), Cell(f.file), Cell(f.unit)}.join('\t') + '\n';
  return out;
}

CompareDialog::CompareDialog(const QString& fileName, std::vector<ComparedField> fields, Lang lang,
                             QWidget* parent)
    : QDialog(parent), fields_(std::move(fields)), lang_(lang), table_(new QTableWidget(this)) {
  setObjectName("CompareDialog");
  setWindowTitle(Utf8(FormatText(ToolText::kCompareTitle, lang, fileName.toUtf8().toStdString())));
  resize(720, 480);

  table_->setColumnCount(4);
  table_->setRowCount(static_cast<int>(fields_.size()));
  table_->setHorizontalHeaderLabels(Header(lang));
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->verticalHeader()->setVisible(false);
  for (int r = 0; r < static_cast<int>(fields_.size()); ++r) {
    const auto& f = fields_[static_cast<std::size_t>(r)];
    const QString cells[] = {Cell(f.key), Cell(f.processor), Cell(f.file), Cell(f.unit)};
    for (int c = 0; c < 4; ++c) table_->setItem(r, c, new QTableWidgetItem(cells[c]));
  }
  table_->resizeColumnsToContents();
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->installEventFilter(this);

  auto* copy = new QPushButton(Tr(ToolText::kCompareCopy, lang), this);
  copy->setObjectName("copy");
  auto* close = new QPushButton(Tr(ToolText::kCompareClose, lang), this);
  connect(copy, &QPushButton::clicked, this, &CompareDialog::Copy);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(copy);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_);
  layout->addLayout(buttons);
}

void CompareDialog::Copy() {
  QGuiApplication::clipboard()->setText(ComparisonAsTsv(fields_, lang_));
}

bool CompareDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == table_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
    Copy();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void CompareDialog::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    Copy();
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace tavelo::ui
