#pragma once
// Page texts are written and read in one notation, with a decimal point, whatever locale
// the desktop hands the C library (a Qt application adopts the user's one). While an
// object of this class lives, number conversions on this thread use the "C" rules.
#include <locale.h>

#ifdef _WIN32
#include <string>
#endif

namespace tavelo {

#ifdef _WIN32

// Windows has no uselocale(); a thread may instead own its locale and set it back.
class ClassicNumbers {
 public:
  ClassicNumbers() : mode_(_configthreadlocale(_ENABLE_PER_THREAD_LOCALE)) {
    if (const char* current = setlocale(LC_ALL, nullptr)) previous_ = current;
    setlocale(LC_ALL, "C");
  }
  ~ClassicNumbers() {
    if (!previous_.empty()) setlocale(LC_ALL, previous_.c_str());
    if (mode_ > 0) _configthreadlocale(mode_);
  }
  ClassicNumbers(const ClassicNumbers&) = delete;
  ClassicNumbers& operator=(const ClassicNumbers&) = delete;

 private:
  int mode_;
  std::string previous_;
};

#else

class ClassicNumbers {
 public:
  ClassicNumbers() : previous_(Classic() ? uselocale(Classic()) : nullptr) {}
  ~ClassicNumbers() {
    if (previous_) uselocale(previous_);
  }
  ClassicNumbers(const ClassicNumbers&) = delete;
  ClassicNumbers& operator=(const ClassicNumbers&) = delete;

 private:
  static locale_t Classic() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
  }
  locale_t previous_;
};

#endif

}  // namespace tavelo
