#pragma once
// The QGuiApplication that painting commands (reports, curve pictures) need for fonts. It
// needs no display: without QT_QPA_PLATFORM it draws offscreen.
#include <QGuiApplication>
#include <memory>

namespace tavelo::cli {

class GuiApp {
 public:
  GuiApp();
  ~GuiApp();
  GuiApp(const GuiApp&) = delete;
  GuiApp& operator=(const GuiApp&) = delete;

 private:
  std::unique_ptr<QGuiApplication> app_;
};

}  // namespace tavelo::cli
