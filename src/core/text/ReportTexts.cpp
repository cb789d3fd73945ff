#include "core/text/ReportTexts.h"

#include <array>

namespace tavelo {

namespace {

struct Entry {
  std::string_view english;
  std::string_view chinese;
};

constexpr std::array<Entry, static_cast<std::size_t>(ReportText::kCount)> kWords = {{
    {"Commissioning report", "调试报告"},
    {"Preset", "预设"},
    {"Date", "日期"},
    {"Source", "来源"},
    {"Parameter", "参数"},
    {"Value", "数值"},
    {"Name", "名称"},
    {"Band", "频段"},
    {"Type", "类型"},
    {"Frequency", "频率"},
    {"Q", "Q"},
    {"Gain", "增益"},
    {"Slope", "斜率"},
    {"Page %d of %d", "第 %d 页，共 %d 页"},
    {"(continued)", "（续）"},
    {"Export report...", "导出报告..."},
    {"PDF files (*.pdf)", "PDF 文件 (*.pdf)"},
    {"The report was written to %s.", "报告已保存到 %s。"},
    {"the processor's current preset", "处理器的当前预设"},
    {", set %d", "，第 %d 组"},
    {"on", "开"},
    {"off", "关"},
    {" (off)", "（关）"},
    {"peak", "峰值"},
    {"low shelf", "低架"},
    {"high shelf", "高架"},
    {"low-pass", "低通"},
    {"high-pass", "高通"},
    {"EQ in circuit", "均衡器接入"},
    {"Compressor in circuit", "压缩器接入"},
}};

}  // namespace

std::string_view ReportWord(ReportText text, Lang lang) {
  const auto i = static_cast<std::size_t>(text);
  if (i >= kWords.size()) return {};
  return lang == Lang::kChinese ? kWords[i].chinese : kWords[i].english;
}

std::string_view ShownBandType(int type, Lang lang) {
  constexpr std::array kTypes = {ReportText::kPeak, ReportText::kLowShelf, ReportText::kHighShelf,
                                 ReportText::kLowPass, ReportText::kHighPass};
  if (type < 0 || type >= static_cast<int>(kTypes.size())) return {};
  return ReportWord(kTypes[static_cast<std::size_t>(type)], lang);
}

}  // namespace tavelo
