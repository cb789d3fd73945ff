#pragma once
// Undo and redo of every page's edits (Ctrl+Z, Ctrl+Shift+Z and two buttons on the top
// bar's second row). The main window tells it when a page posted a block (an edit), when
// the image was replaced (a download, a preset load: the history is forgotten) and when
// it changed by other means (the processor's knobs, replies: not an edit of anyone's).
//
// Edits made between a mouse press and its release in the main window are one step (a
// drag on the graph or a slider), and so is everything one user action posted.
#include <QObject>
#include <QString>
#include <functional>

#include "core/edits/EditHistory.h"
#include "core/engine/Engine.h"
#include "core/text/Lang.h"

class QWidget;

namespace tavelo::ui {

class SkinButton;

class EditTools : public QObject {
  Q_OBJECT
 public:
  struct Hooks {
    std::function<void()> reloadPages;        // every page looks at the image again
    std::function<void(const QString&)> say;  // a message for the user
  };

  // The buttons are children of `window`, placed at `at` (their row's left end).
  EditTools(Engine& engine, QWidget* window, QPoint at, Hooks hooks);
  ~EditTools() override;

  EditHistory& History() { return history_; }
  SkinButton* UndoButton() const { return undo_; }
  SkinButton* RedoButton() const { return redo_; }

  void Recorded();  // a page wrote the image and posted its block
  void Reset();     // the image was replaced
  void Rebase();    // the image changed, but not by an edit

  // False when there was nothing to take back (forward), or it cannot be sent now (the
  // user is told why).
  bool Undo();
  bool Redo();

  void ApplyLanguage(Lang lang);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Step(bool back);
  void ShowButtons();
  void EndImplicit();

  Engine& engine_;
  QWidget* window_;
  Hooks hooks_;
  EditHistory history_;
  SkinButton* undo_;
  SkinButton* redo_;
  Lang lang_ = Lang::kEnglish;
  bool mouseDown_ = false;
  bool implicit_ = false;  // a step for what the current user action posts is open
};

}  // namespace tavelo::ui
