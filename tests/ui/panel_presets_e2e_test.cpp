// The panel against the virtual processor over loopback TCP (its Wi-Fi link): presets saved
// to the PC and loaded back, and the mass upload through its dialog with the wait dialog's
// progress.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <fstream>

#include "core/presets/PresetFolder.h"
#include "platform/SimServer.h"
#include "ui/dialogs/MassSaveDialog.h"
#include "ui/dialogs/WaitDialog.h"
#include "ui/panel_test_env.h"

namespace tavelo {
namespace {

namespace fs = std::filesystem;

class PanelOverTcp : public ::testing::Test {
 protected:
  void SetUp() override {
    test::PanelSettingsDir();
    // Every request is reported (connections take the setting when they open).
    server_.SetLogger(
        [this](const std::string& line) {
          if (onLine_) onLine_(line);
        },
        /*verbose=*/true);
    ASSERT_TRUE(server_.Listen(QHostAddress::LocalHost, 0, 0));
    ui::MainWindow::Options options;
    options.lang = Lang::kEnglish;
    options.host = "127.0.0.1";
    options.port = server_.Port();
    options.paramDir = dir_.path().toStdString();
    window_ = std::make_unique<ui::MainWindow>(options);  // its own 50 ms tick runs
    window_->ChooseLink(LinkChoice::kWifi);
    window_->Connect();
    ASSERT_TRUE(Wait([this] { return Idle(); })) << window_->StatusText().toStdString();
  }

  Engine& E() { return window_->GetEngine(); }
  bool Idle() { return E().Connected() && E().ParamSetRead() && !E().ReplyAwaited(); }
  fs::path Folder() const { return dir_.path().toStdString(); }

  // Runs the event loop in real time until `done`, calling `each` after every round.
  bool Wait(const std::function<bool()>& done, const std::function<void()>& each = {},
            int timeoutMs = 10000) {
    return test::WaitFor(done, timeoutMs, [&] {
      if (each) each();
    });
  }

  void WriteFile(const std::string& name, const char* presetName, int echoType) {
    ParamImage image = E().Image();
    image.name = SanitisePresetName(presetName);
    image.byte(img::kEchoType) = static_cast<std::uint8_t>(echoType);
    ASSERT_TRUE(SaveParamFile(Folder(), name, image).ok);
  }

  std::unique_ptr<ui::MassSaveDialog> OpenMassUpload() {
    auto dialog =
        std::make_unique<ui::MassSaveDialog>(Lang::kEnglish, Folder(), false, window_.get());
    QObject::connect(dialog.get(), &ui::MassSaveDialog::UploadRequested, window_.get(),
                     [this](const std::vector<std::string>& files, bool factory) {
                       E().Post(msg::MassUpload{files, factory});
                     });
    dialog->open();
    return dialog;
  }

  std::string StoredName(int slot) const {
    const auto& n = processor_.Stored(slot).name;
    return std::string(n.begin(), n.end());
  }

  void TearDown() override {
    onLine_ = nullptr;  // it may point at a finished test's locals
    window_.reset();
  }

  // Declared before the server, which reports to it until the server is gone.
  std::function<void(const std::string&)> onLine_;
  QTemporaryDir dir_;
  VirtualProcessor processor_;
  SimServer server_{processor_};
  std::unique_ptr<ui::MainWindow> window_;
};

TEST_F(PanelOverTcp, SavedPresetComesBackOnTheProcessor) {
  auto& image = E().Image();
  image.byte(img::kMusicMaxVolume) = 50;
  E().PostBlock(2);
  ASSERT_TRUE(
      Wait([&] { return processor_.Current().byte(img::kMusicMaxVolume) == 50 && Idle(); }));
  E().SetModeNameText("Evening");
  E().Post(msg::SaveToPc{"evening"});
  ASSERT_EQ(E().PcFiles(), std::vector<std::string>{"evening"});
  EXPECT_EQ(window_->Messages().back().text, " \t   Save OK\t\t  ");

  image.byte(img::kMusicMaxVolume) = 70;
  E().PostBlock(2);
  ASSERT_TRUE(
      Wait([&] { return processor_.Current().byte(img::kMusicMaxVolume) == 70 && Idle(); }));

  E().Post(msg::LoadFromPc{0, {}});
  ASSERT_TRUE(
      Wait([&] { return processor_.Current().byte(img::kMusicMaxVolume) == 50 && Idle(); }));
  // Said once the processor confirmed the upload.
  EXPECT_EQ(window_->Messages().back().text, " \t   Load OK\t\t  ");
  EXPECT_EQ(image.byte(img::kMusicMaxVolume), 50);
  EXPECT_EQ(std::string(processor_.Current().name.data(), 7), "Evening");
}

TEST_F(PanelOverTcp, MassUploadGoesLastFirstShowsProgressAndReadsPresetZeroBack) {
  WriteFile("a-first", "FIRST", 0);
  WriteFile("b-second", "SECOND", 1);
  WriteFile("c-third", "THIRD", 2);
  auto dialog = OpenMassUpload();
  QTest::mouseClick(dialog->AddAllButton(), Qt::LeftButton);
  ASSERT_EQ(dialog->UploadList()->topLevelItemCount(), 3);
  EXPECT_EQ(dialog->UploadList()->topLevelItem(2)->text(1), "c-third");

  const std::size_t said = window_->Messages().size();
  // The virtual processor runs in this thread: as it handles each request, see which slot
  // a finished upload wrote and what the wait dialog said when the upload began.
  std::vector<int> order;
  QStringList progress;
  onLine_ = [&](const std::string& line) {
    if (line.rfind("request 65,", 0) == 0 && window_->OpenWaitDialog())
      progress.push_back(window_->OpenWaitDialog()->Text());
    if (line.rfind("request 67,", 0) != 0) return;
    const char* names[3] = {"FIRST", "SECOND", "THIRD"};
    for (int slot = 0; slot < 3; ++slot) {
      const bool written = StoredName(slot).rfind(names[slot], 0) == 0;
      if (written && std::find(order.begin(), order.end(), slot) == order.end())
        order.push_back(slot);
    }
  };
  QTest::mouseClick(dialog->UploadButton(), Qt::LeftButton);
  ASSERT_TRUE(E().MassUploadRunning());
  QTest::mouseClick(dialog->UploadButton(), Qt::LeftButton);  // ignored while running
  ASSERT_TRUE(Wait([&] { return !E().MassUploadRunning() && Idle(); }));
  EXPECT_EQ(order, (std::vector<int>{2, 1, 0}));
  EXPECT_EQ(progress,
            (QStringList{"Saving... file 1/3", "Saving... file 2/3", "Saving... file 3/3"}));
  // Preset 0 was recalled and read back: the panel shows the first file's preset.
  EXPECT_EQ(E().CurrentPreset(), 0);
  EXPECT_EQ(std::string(E().Image().name.data(), 5), "FIRST");
  EXPECT_EQ(E().Image().byte(img::kEchoType), 0);
  EXPECT_EQ(window_->OpenWaitDialog(), nullptr);
  EXPECT_EQ(window_->Messages().size(), said);  // a normal run ends without a message
  EXPECT_TRUE(dialog->isVisible());             // the dialog stays open
}

TEST_F(PanelOverTcp, ABadFileStopsTheRunWithItsMessageAndKeepsWrittenSlots) {
  WriteFile("a-good", "GOOD A", 0);
  WriteFile("b-bad", "BAD", 1);
  WriteFile("c-good", "GOOD C", 2);
  {  // one byte inside the checked range: the checksum no longer holds
    std::fstream f(Folder() / "b-bad", std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(100);
    f.put('\x7f');
  }
  const std::string slot0 = StoredName(0);
  auto dialog = OpenMassUpload();
  QTest::mouseClick(dialog->AddAllButton(), Qt::LeftButton);
  QTest::mouseClick(dialog->UploadButton(), Qt::LeftButton);
  ASSERT_TRUE(Wait([&] { return !E().MassUploadRunning() && Idle(); }));
  EXPECT_EQ(window_->Messages().back().text,
            "b-bad Load fail\nWritten: 3\nIn progress, may hold a mix of old and new: none\n"
            "Not reached, unchanged: 2, 1");
  EXPECT_EQ(StoredName(2).substr(0, 6), "GOOD C");  // written before the bad file
  EXPECT_EQ(StoredName(0), slot0);                  // never reached
  EXPECT_TRUE(Wait([&] { return window_->OpenWaitDialog() == nullptr; }));
}

}  // namespace
}  // namespace tavelo
