#include "ui/pages/BoostPage.h"

#include <QFileDialog>
#include <QMessageBox>
#include <utility>

#include "core/text/Texts.h"
#include "ui/pages/BandColumns.h"
#include "ui/pages/BoostPageTable.h"

namespace tavelo::ui {
namespace {

// Placement below the graph: the channel buttons with their "Boost" boxes on the left,
// the band columns in the middle, the store and file buttons on the right.
constexpr int kTop = kPageGraphHeight + 10;
constexpr int kChannelX = 20, kChannelPitch = 34;
constexpr int kColumnX = 300, kColumnPitch = 70, kColumnWidth = 60, kSpinWidth = 14;
constexpr int kSliderY = kTop + 10, kGainEditY = kSliderY + kEqTrackHeight + 4,
              kQEditY = kGainEditY + 24, kFreqEditY = kQEditY + 24, kTypeY = kFreqEditY + 24;
constexpr int kButtonsX = 700;

const char* const kFileFilter = "Param Files (*.btpar);;All Files (*.*)";

}  // namespace

BoostPage::BoostPage(ParamImage& image, BlockPoster post, QSize size, QWidget* parent)
    : EqPage(boost::Definition(), image, post, size, kGraphSlots, parent),
      image_(image),
      post_(std::move(post)) {
  setObjectName("BoostPage");
  Model().onButton = [this](int id) { PageButton(id); };
  Build();
  ApplyLanguage(Lang::kEnglish);
}

void BoostPage::Build() {
  PageBinder& b = Binder();
  static const char* const kChannelCaptions[kBoostChannels] = {"MIC", "MUSIC", "REV", "ECHO"};
  for (int ch = 0; ch < kBoostChannels; ++ch) {
    const int y = kTop + ch * kChannelPitch;
    b.Button(boost::kChannelButtons[ch], QRect(kChannelX, y, 80, 26), kChannelCaptions[ch]);
    b.Button(boost::kBoostBoxes[ch], QRect(kChannelX + 90, y, 80, 26), "Boost");
  }
  Model().Controls().SetLit(boost::kChannelButtons[0], true);

  const std::pair<int, Label> rowCaptions[] = {{kSliderY + 50, Label::kGainDb},
                                               {kQEditY, Label::kQ},
                                               {kFreqEditY, Label::kFreqHz},
                                               {kTypeY, Label::kType}};
  for (const auto& [y, label] : rowCaptions)
    captions_.push_back({b.Caption(QRect(kColumnX - 70, y, 66, 20), {}), label});
  ui::PlaceBandColumns(b, Model().Definition().eq.columns,
                       {.x = kColumnX,
                        .pitch = kColumnPitch,
                        .width = kColumnWidth,
                        .sliderY = kSliderY,
                        .gainEditY = kGainEditY,
                        .qEditY = kQEditY,
                        .freqEditY = kFreqEditY,
                        .typeY = kTypeY,
                        .qEditTrim = kSpinWidth + 1,
                        .spinWidth = kSpinWidth,
                        .typeWidth = 20});

  b.Button(boost::kStoreButton, QRect(kButtonsX, kTop, 130, 28), "Save Boost");
  b.Button(boost::kSaveFileButton, QRect(kButtonsX, kTop + 40, 130, 28), "Save File");
  b.Button(boost::kLoadFileButton, QRect(kButtonsX, kTop + 80, 130, 28), "Load File");
}

int BoostPage::Channel() {
  return Model().BandSide().ViewIndex();
}

void BoostPage::PageButton(int id) {
  for (int ch = 0; ch < kBoostChannels; ++ch)
    if (id == boost::kChannelButtons[ch]) ShowChannel(ch);
  if (id == boost::kStoreButton) PostBlock(CommandCode::kBoostBlock);
  if (id == boost::kSaveFileButton) SaveFile();
  if (id == boost::kLoadFileButton) LoadFile();
}

void BoostPage::ShowChannel(int channel) {
  for (int ch = 0; ch < kBoostChannels; ++ch)
    Model().Controls().SetLit(boost::kChannelButtons[ch], ch == channel);
  Model().ChooseView(channel);
}

void BoostPage::PostBlock(CommandCode code) {
  if (post_) post_({code, 0});
}

QString BoostPage::AskFile(bool save) {
  if (chooseFile) return chooseFile(save);
  QFileDialog dialog(this, {}, {}, kFileFilter);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setDefaultSuffix("btpar");  // the save dialog asks before overwriting
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

void BoostPage::SaveFile() {
  const QString path = AskFile(true);
  if (path.isEmpty()) return;
  Say(SaveBoostAs(image_.boost, std::filesystem::path(path.toStdU16String()), lang_));
}

// A loaded file replaces the boost block, is shown and goes to the processor to be
// stored; a file that cannot be read or fails its checks changes and sends nothing.
void BoostPage::LoadFile() {
  const QString path = AskFile(false);
  if (path.isEmpty()) return;
  const BoostFileReport report =
      LoadBoostFrom(image_.boost, std::filesystem::path(path.toStdU16String()), lang_);
  if (report.loaded) {
    Refresh();
    PostBlock(CommandCode::kBoostBlock);
  }
  Say(report);
}

void BoostPage::ApplyLanguage(Lang lang) {
  EqPage::ApplyLanguage(lang);
  lang_ = lang;
  for (const auto& c : captions_) c.label->setText(QString::fromUtf8(LabelText(c.text, lang)));
}

void BoostPage::Say(const BoostFileReport& report) {
  lastReport_ = report;
  if (report.text.empty()) return;
  auto* box =
      new QMessageBox(QMessageBox::NoIcon, QString::fromUtf8(Text(TextId::kCaptionBlank, lang_)),
                      QString::fromStdString(report.text), QMessageBox::Ok, this);
  box->setObjectName("boostMessage");
  box->setInformativeText(QString::fromStdString(report.detail));
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::WindowModal);
  box->open();
}

}  // namespace tavelo::ui
