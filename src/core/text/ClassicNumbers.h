#pragma once
// Page texts are written and read in one notation, with a decimal point, whatever locale
// the desktop hands the C library (a Qt application adopts the user's one). While an
// object of this class lives, number conversions on this thread use the "C" rules.
#include <locale.h>

namespace tavelo {

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

}  // namespace tavelo
