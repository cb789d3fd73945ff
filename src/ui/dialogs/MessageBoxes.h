#pragma once
// Message boxes of the system dialogs, opened without a nested event loop (ticks, replies
// and the module's heartbeat keep flowing while one is up). Each box is a child of its
// window, so tests find it and press its buttons.
#include <QMessageBox>
#include <QString>
#include <functional>

namespace tavelo::ui {

// A box with an OK button.
QMessageBox* ShowNotice(QWidget* parent, const QString& caption, const QString& text);

// A question; `onYes` runs when the user presses `yes` (Yes or OK), nothing else happens
// otherwise.
QMessageBox* AskQuestion(QWidget* parent, const QString& caption, const QString& text,
                         QMessageBox::StandardButton yes, QMessageBox::StandardButton no,
                         std::function<void()> onYes);

}  // namespace tavelo::ui
