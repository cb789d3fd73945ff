#pragma once
// The preset tools that sit on the system page but are not the processor's settings: A/B
// ("Store A", "Store B" and the live switch), "Compare with file...", "Export report..."
// and the mass-upload dialog. The page only lends them a place (its binder and a corner)
// and its message boxes; everything they do is reachable here without the page.
#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "core/engine/Engine.h"
#include "core/text/Lang.h"
#include "ui/tools/AbSwitch.h"

class QLabel;
class QWidget;

namespace tavelo::ui {

class CompareDialog;
class PageBinder;
class SkinButton;

class SystemTools : public QObject {
 public:
  struct Hooks {
    std::function<void()> imageSwitched;  // A/B replaced the image: all look again
    // A message box with an OK button.
    std::function<void(const std::string& caption, const std::string& text)> say;
    // A question; `onYes` runs when the user agrees.
    std::function<void(const std::string& caption, const std::string& text,
                       std::function<void()> onYes)>
        ask;
    // The mass-upload dialog's start button (the owner checks the admin mode).
    std::function<void(const std::vector<std::string>& files, bool factory)> startMassUpload;
  };

  // Dialogs open over `host`.
  SystemTools(Engine& engine, QWidget* host, Hooks hooks);

  // The tools' title and buttons, with `binder`, their top-left corner at `at`.
  void Place(PageBinder& binder, QPoint at);

  AbSwitch& Ab() { return ab_; }
  // "Compare with file...": the processor's preset against `path`, in a dialog (or a
  // message when the file is refused or holds the same values). Returns the dialog.
  CompareDialog* CompareWith(const QString& path);
  // "Export report...": the processor's preset as a PDF report at `path`. False with the
  // reason in `error` (the file and the cause).
  bool ExportReport(const QString& path, QString& error);
  // The mass-upload dialog; `factoryAllowed` offers the factory upload.
  void OpenMassUpload(bool factoryAllowed);

  void ApplyLanguage(Lang lang);

 private:
  void ShowAb();
  void ChooseCompareFile();
  void ChooseReportFile();
  void Say(const std::string& caption, const std::string& text);

  Engine& engine_;
  QWidget* host_;
  Hooks hooks_;
  AbSwitch ab_;
  Lang lang_ = Lang::kEnglish;
  QLabel* title_ = nullptr;
  SkinButton* storeA_ = nullptr;
  SkinButton* storeB_ = nullptr;
  SkinButton* toggle_ = nullptr;
  SkinButton* compare_ = nullptr;
  SkinButton* report_ = nullptr;
};

}  // namespace tavelo::ui
