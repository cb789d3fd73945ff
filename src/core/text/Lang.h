#pragma once
// The panel's language flag: 0 English, 1 Chinese, as stored with the user's settings.

namespace tavelo {

enum class Lang : int { kEnglish = 0, kChinese = 1 };

// Any stored non-zero value means Chinese.
constexpr Lang LangFromFlag(int flag) {
  return flag != 0 ? Lang::kChinese : Lang::kEnglish;
}

}  // namespace tavelo
