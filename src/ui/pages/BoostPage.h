#pragma once
// The boost page: the boost block's four short equalisers (microphone, music, reverb and
// echo return), one shown at a time with as many band columns as it has, the "Boost" box
// of each, the store button and the boost files on the PC.
#include <QLabel>
#include <functional>
#include <vector>

#include "core/text/Labels.h"
#include "ui/pages/BoostFileActions.h"
#include "ui/pages/EqPage.h"

namespace tavelo::ui {

class BoostPage : public EqPage {
  Q_OBJECT
 public:
  static constexpr int kGraphSlots = 18;

  BoostPage(ParamImage& image, BlockPoster post, QSize size, QWidget* parent);

  int Channel();

  // Asks for a boost file name: `save` for the save dialog. Empty = cancelled. Tests
  // replace the platform's file dialogs here.
  std::function<QString(bool save)> chooseFile;
  // What the last file action reported (tests and the message box read it).
  const BoostFileReport& LastFileReport() const { return lastReport_; }

  void ApplyLanguage(Lang lang) override;

 private:
  void Build();
  void PageButton(int id);
  void ShowChannel(int channel);
  void SaveFile();
  void LoadFile();
  void Say(const BoostFileReport& report);
  QString AskFile(bool save);
  void PostBlock(CommandCode code);

  ParamImage& image_;
  BlockPoster post_;
  BoostFileReport lastReport_;
  Lang lang_ = Lang::kEnglish;
  struct Caption {
    QLabel* label;
    Label text;
  };
  std::vector<Caption> captions_;  // the band rows' captions
};

}  // namespace tavelo::ui
