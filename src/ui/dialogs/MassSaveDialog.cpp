#include "ui/dialogs/MassSaveDialog.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/text/Texts.h"

namespace tavelo::ui {
namespace {

QString Tr(TextId id, Lang lang) {
  return QString::fromUtf8(Text(id, lang));
}

// File names are shown as the file system spells them; a name that is not UTF-8 is shown
// with replacement marks rather than dropped.
QString FileName(const std::string& name) {
  return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

MassSaveDialog::MassSaveDialog(Lang lang, const std::filesystem::path& folder, bool factoryAllowed,
                               QWidget* parent)
    : QDialog(parent),
      candidates_(new QListWidget(this)),
      rows_(new QTreeWidget(this)),
      add_(new QPushButton(Tr(TextId::kMassAdd, lang), this)),
      addAll_(new QPushButton(Tr(TextId::kMassAddAll, lang), this)),
      del_(new QPushButton(Tr(TextId::kMassDel, lang), this)),
      upload_(new QPushButton(Tr(TextId::kMassUploadTitle, lang), this)),
      factory_(new QPushButton(Tr(TextId::kMassUploadFactory, lang), this)) {
  setObjectName("MassSaveDialog");
  setWindowModality(Qt::WindowModal);
  setWindowTitle(Tr(TextId::kMassUploadTitle, lang));
  candidates_->setObjectName("massCandidates");
  rows_->setObjectName("massRows");
  add_->setObjectName("massAdd");
  addAll_->setObjectName("massAddAll");
  del_->setObjectName("massDel");
  upload_->setObjectName("massUpload");
  factory_->setObjectName("massUploadFactory");
  for (QPushButton* b : {add_, addAll_, del_, upload_, factory_}) b->setAutoDefault(false);
  factory_->setVisible(factoryAllowed);

  rows_->setColumnCount(2);
  rows_->setHeaderLabels(
      {Tr(TextId::kMassColumnNumber, lang), Tr(TextId::kMassColumnFileName, lang)});
  rows_->setRootIsDecorated(false);
  rows_->setSelectionBehavior(QAbstractItemView::SelectRows);
  rows_->header()->setStretchLastSection(false);
  rows_->setColumnWidth(0, kMassNumberColumnWidth);
  rows_->setColumnWidth(1, MassFileNameColumnWidth(lang));
  rows_->setMinimumWidth(kMassNumberColumnWidth + MassFileNameColumnWidth(lang) + 24);
  rows_->setStyleSheet("QTreeView::item { border: 1px solid #d0d0d0; }");  // grid lines

  list_.LoadCandidates(folder);
  for (const std::string& name : list_.Candidates()) candidates_->addItem(FileName(name));

  auto* buttons = new QVBoxLayout;
  buttons->addStretch();
  buttons->addWidget(add_);
  buttons->addWidget(addAll_);
  buttons->addWidget(del_);
  buttons->addStretch();
  auto* grid = new QGridLayout(this);
  grid->addWidget(candidates_, 0, 0);
  grid->addLayout(buttons, 0, 1);
  grid->addWidget(rows_, 0, 2);
  auto* actions = new QHBoxLayout;
  actions->addStretch();
  actions->addWidget(upload_);
  actions->addWidget(factory_);
  grid->addLayout(actions, 1, 0, 1, 3);
  resize(560, 340);

  connect(add_, &QPushButton::clicked, this, [this] {
    if (list_.Add(candidates_->currentRow())) ShowRows();
  });
  connect(addAll_, &QPushButton::clicked, this, [this] {
    list_.AddAll();
    ShowRows();
  });
  connect(del_, &QPushButton::clicked, this, [this] {
    const QModelIndex current = rows_->currentIndex();
    if (current.isValid() && list_.Delete(current.row())) ShowRows();
  });
  connect(upload_, &QPushButton::clicked, this, [this] { Start(false); });
  connect(factory_, &QPushButton::clicked, this, [this] { Start(true); });
}

void MassSaveDialog::ShowRows() {
  rows_->clear();
  for (std::size_t i = 0; i < list_.Rows().size(); ++i) {
    auto* item = new QTreeWidgetItem(rows_);
    item->setText(0, QString::fromStdString(MassUploadList::RowNumber(i)));
    item->setText(1, FileName(list_.Rows()[i]));
  }
}

void MassSaveDialog::Start(bool factory) {
  // The dialog stays open; the engine ignores a second start while a run goes on.
  if (!list_.Rows().empty()) emit UploadRequested(list_.Rows(), factory);
}

}  // namespace tavelo::ui
