#include "core/eq/FilterTextWords.h"

#include <array>
#include <vector>

#include "core/text/Placeholders.h"

namespace tavelo {
namespace {

struct Words {
  FilterWord id;
  const char* english;
  const char* chinese;
};

constexpr std::array kWords = {
    Words{FilterWord::kLine, "line {0}", "第 {0} 行"},
    Words{FilterWord::kLineFilter, "line {0}: filter ({1})", "第 {0} 行：滤波器（{1}）"},
    Words{FilterWord::kLineFilterNumber, "line {0}: filter {1} ({2})",
          "第 {0} 行：滤波器 {1}（{2}）"},
    Words{FilterWord::kNeedsFilterLabel, "{0}: a filter line needs \"Filter N:\"",
          "{0}：滤波器行需要以 \"Filter N:\" 开头"},
    Words{FilterWord::kNotAFilterNumber, "{0}: {1} is not a filter number",
          "{0}：{1} 不是滤波器编号"},
    Words{FilterWord::kEmptyFilterLine, "{0}: the filter line is empty", "{0}：滤波器行是空的"},
    Words{FilterWord::kLackedType,
          "{0} is {1}; the processor's equaliser bands are peaks and shelves only",
          "{0} 是{1}；本机的均衡频段只有峰值和搁架两种"},
    Words{FilterWord::kTypeLowPass, "a low-pass filter", "低通滤波器"},
    Words{FilterWord::kTypeHighPass, "a high-pass filter", "高通滤波器"},
    Words{FilterWord::kTypeBandPass, "a band-pass filter", "带通滤波器"},
    Words{FilterWord::kTypeNotch, "a notch filter", "陷波滤波器"},
    Words{FilterWord::kTypeAllPass, "an all-pass filter", "全通滤波器"},
    Words{FilterWord::kTypeModal, "a modal filter", "模态滤波器"},
    Words{FilterWord::kTypeOther, "a filter type", "本机没有的滤波器类型"},
    Words{FilterWord::kNotAKey, "{0}: {1} is not Fc, Gain, Q or BW",
          "{0}：{1} 不是 Fc、Gain、Q 或 BW"},
    Words{FilterWord::kNeedsNumber, "{0}: {1} needs a number", "{0}：{1} 后面需要一个数值"},
    Words{FilterWord::kMissing, "{0}: {1} is missing", "{0}：缺少 {1}"},
    Words{FilterWord::kFirstOrderShelf,
          "{0} is a first-order (6 dB per octave) shelf; the processor's shelves are "
          "second-order",
          "{0} 是一阶（每倍频程 6 dB）搁架滤波器；本机的搁架滤波器是二阶的"},
    Words{FilterWord::kTooSteep, "{0}: a slope of {1} dB per octave is too steep at {2} dB gain",
          "{0}：在 {2} dB 增益下，每倍频程 {1} dB 的斜率过陡"},
    Words{FilterWord::kQNotAboveZero, "{0}: Q must be above 0", "{0}：Q 必须大于 0"},
    Words{FilterWord::kOtherCommand, "{0}: {1} is not an equaliser filter; it was not imported",
          "{0}：{1} 不是均衡滤波器，未导入"},
    Words{FilterWord::kUnknownLine,
          "{0}: {1} is neither a filter nor a known heading; it was not read",
          "{0}：{1} 既不是滤波器也不是已知的标题行，未读取"},
    Words{FilterWord::kUtf16,
          "the file is {0} text; save it as UTF-8 (or ANSI) in the measuring program and import it "
          "again",
          "文件是 {0} 文本；请在测量软件中另存为 UTF-8（或 ANSI）后重新导入"},
    Words{FilterWord::kBand, "band {0}: {1}", "频段 {0}：{1}"},
    Words{FilterWord::kHeldFrequency, "frequency {0} Hz held to {1} Hz",
          "频率 {0} Hz 限制为 {1} Hz"},
    Words{FilterWord::kHeldGain, "gain {0} dB held to {1} dB", "增益 {0} dB 限制为 {1} dB"},
    Words{FilterWord::kHeldQ, "Q {0} held to {1}", "Q 值 {0} 限制为 {1}"},
    Words{FilterWord::kBandLeftFlat, "no filter for it; set flat (peak, 0 dB)",
          "没有对应的滤波器，设为平直（峰值，0 dB）"},
};
static_assert(kWords.size() == static_cast<std::size_t>(FilterWord::kCount));

constexpr bool InOrder() {
  for (std::size_t i = 0; i < kWords.size(); ++i) {
    if (static_cast<std::size_t>(kWords[i].id) != i) return false;
  }
  return true;
}
static_assert(InOrder(), "the table follows the enum");

}  // namespace

std::string SayFilter(FilterWord id, Lang lang, std::initializer_list<std::string_view> args) {
  const Words& w = kWords[static_cast<std::size_t>(id)];
  return FillPlaceholders(lang == Lang::kChinese ? w.chinese : w.english, args);
}

}  // namespace tavelo
