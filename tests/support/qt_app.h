#pragma once
// Widget tests need one QApplication; gtest_main owns main(), so it is made on first use.
#include <QApplication>
#include <cstdlib>

namespace tavelo::test {

inline QApplication& QtApp() {
  static int argc = 1;
  static char name[] = "tavelo_tests_ui";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return new QApplication(argc, argv);
  }();
  return *app;
}

}  // namespace tavelo::test
