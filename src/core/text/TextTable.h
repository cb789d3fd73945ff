#pragma once
// The shape every English/Chinese text table shares: one entry per enumerator, in
// enumeration order, looked up by the enumerator. A table states its entries; the order
// check and the look-up are written here once.
//
//   constexpr TextEntry<ToolText> kTexts[] = {{ToolText::kUndo, "Undo", "撤销"}, ...};
//   static_assert(FollowsEnum(kTexts, kToolTextCount));
//   return TextOf(kTexts, id, lang);
#include <cstddef>

#include "core/text/Lang.h"

namespace tavelo {

template <typename Id>
struct TextEntry {
  Id id;
  const char* english;
  const char* chinese;
};

// Whether the table holds exactly `count` entries, entry i for enumerator i.
template <typename Id, std::size_t N>
constexpr bool FollowsEnum(const TextEntry<Id> (&table)[N], int count) {
  if (static_cast<int>(N) != count) return false;
  for (std::size_t i = 0; i < N; ++i) {
    if (static_cast<std::size_t>(table[i].id) != i) return false;
  }
  return true;
}

// The text of `id` in `lang`; "" for a value outside the enumeration.
template <typename Id, std::size_t N>
constexpr const char* TextOf(const TextEntry<Id> (&table)[N], Id id, Lang lang) {
  const auto i = static_cast<std::size_t>(id);
  if (static_cast<int>(id) < 0 || i >= N) return "";
  return lang == Lang::kChinese ? table[i].chinese : table[i].english;
}

}  // namespace tavelo
