#include "ui/tools/EditTools.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <string>

#include "core/text/ToolTexts.h"
#include "ui/controls/GreyButton.h"
#include "ui/controls/SkinButton.h"

namespace tavelo::ui {
namespace {

constexpr int kButtonWidth = 44, kButtonHeight = 24, kButtonGap = 2;

SkinButton* MakeButton(QWidget* window, QPoint at, const char* name) {
  return MakeGreyButton(window, QRect(at, QSize(kButtonWidth, kButtonHeight)), name);
}

// The rows the processor can only take in another mode, by name.
std::string ModeBound(const SwitchPlan& plan) {
  std::string names;
  for (const UncarriedRow& u : plan.uncarried) {
    if (u.why == Carry::kNotCarried) continue;
    if (!names.empty()) names += ", ";
    names += RowOf(u.row).name;
  }
  return names;
}

}  // namespace

EditTools::EditTools(Engine& engine, QWidget* window, QPoint at, Hooks hooks)
    : QObject(window),
      engine_(engine),
      window_(window),
      hooks_(std::move(hooks)),
      undo_(MakeButton(window, at, "undo")),
      redo_(MakeButton(window, at + QPoint(kButtonWidth + kButtonGap, 0), "redo")) {
  connect(undo_, &QPushButton::clicked, this, [this] { Undo(); });
  connect(redo_, &QPushButton::clicked, this, [this] { Redo(); });
  history_.Reset(engine_.Image());
  ApplyLanguage(engine_.Language());
  qApp->installEventFilter(this);
}

EditTools::~EditTools() {
  qApp->removeEventFilter(this);
}

void EditTools::ApplyLanguage(Lang lang) {
  lang_ = lang;
  undo_->setText(QString::fromUtf8(Text(ToolText::kUndo, lang)));
  redo_->setText(QString::fromUtf8(Text(ToolText::kRedo, lang)));
  undo_->setToolTip("Ctrl+Z");
  redo_->setToolTip("Ctrl+Shift+Z");
  ShowButtons();
}

void EditTools::ShowButtons() {
  undo_->setEnabled(history_.CanUndo());
  redo_->setEnabled(history_.CanRedo());
}

void EditTools::Recorded() {
  // What one user action posts is one step, unless a mouse gesture already holds one.
  if (!history_.InGesture()) {
    history_.Begin();
    implicit_ = true;
    QTimer::singleShot(0, this, [this] { EndImplicit(); });
  }
  history_.Recorded(engine_.Image());
  ShowButtons();
}

void EditTools::EndImplicit() {
  if (!implicit_) return;
  implicit_ = false;
  if (!mouseDown_) history_.End();
}

void EditTools::Reset() {
  history_.Reset(engine_.Image());
  ShowButtons();
}

void EditTools::Rebase() {
  history_.Rebase(engine_.Image());
}

bool EditTools::Undo() {
  return Step(true);
}

bool EditTools::Redo() {
  return Step(false);
}

bool EditTools::Step(bool back) {
  ParamImage& image = engine_.Image();
  // Whatever changed since the last edit by other means is not part of the step.
  history_.Rebase(image);
  const auto plan = back ? history_.PlanUndo(image) : history_.PlanRedo(image);
  if (!plan) return false;
  const std::string bound = ModeBound(*plan);
  if (!bound.empty()) {
    if (hooks_.say)
      hooks_.say(QString::fromStdString(FormatText(ToolText::kUndoBlocked, lang_, bound)));
    return false;
  }
  if (back)
    history_.CommitUndo(image, *plan);
  else
    history_.CommitRedo(image, *plan);
  for (const BlockRequest& r : plan->requests) engine_.Post(r);
  if (hooks_.reloadPages) hooks_.reloadPages();
  ShowButtons();
  return true;
}

bool EditTools::eventFilter(QObject* watched, QEvent* event) {
  const auto type = event->type();
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
      type != QEvent::KeyPress)
    return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != window_) return false;
  if (type == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Z) return false;
    const auto mods = key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier |
                                          Qt::AltModifier | Qt::MetaModifier);
    if (mods == Qt::ControlModifier) {
      Undo();
      return true;
    }
    if (mods == (Qt::ControlModifier | Qt::ShiftModifier)) {
      Redo();
      return true;
    }
    return false;
  }
  // A press reaches the widget under the mouse first and its parents after it: count the
  // gesture once.
  if (type == QEvent::MouseButtonPress && !mouseDown_) {
    mouseDown_ = true;
    implicit_ = false;
    history_.Begin();
  } else if (type == QEvent::MouseButtonRelease && mouseDown_) {
    mouseDown_ = false;
    history_.End();
  }
  return false;
}

}  // namespace tavelo::ui
