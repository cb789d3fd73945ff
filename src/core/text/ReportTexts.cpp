#include "core/text/ReportTexts.h"

#include <array>

#include "core/text/TextTable.h"

namespace tavelo {

namespace {

constexpr TextEntry<ReportText> kWords[] = {
    {ReportText::kTitle, "Commissioning report", "调试报告"},
    {ReportText::kPreset, "Preset", "预设"},
    {ReportText::kDate, "Date", "日期"},
    {ReportText::kSource, "Source", "来源"},
    {ReportText::kParameter, "Parameter", "参数"},
    {ReportText::kValue, "Value", "数值"},
    {ReportText::kName, "Name", "名称"},
    {ReportText::kBand, "Band", "频段"},
    {ReportText::kType, "Type", "类型"},
    {ReportText::kFrequency, "Frequency", "频率"},
    {ReportText::kQ, "Q", "Q"},
    {ReportText::kGain, "Gain", "增益"},
    {ReportText::kSlope, "Slope", "斜率"},
    {ReportText::kPage, "Page %d of %d", "第 %d 页，共 %d 页"},
    {ReportText::kContinued, "(continued)", "（续）"},
    {ReportText::kExport, "Export report...", "导出报告..."},
    {ReportText::kPdfFiles, "PDF files (*.pdf)", "PDF 文件 (*.pdf)"},
    {ReportText::kWritten, "The report was written to %s.", "报告已保存到 %s。"},
    {ReportText::kProcessor, "the processor's current preset", "处理器的当前预设"},
    {ReportText::kSetNumber, ", set %d", "，第 %d 组"},
    {ReportText::kOn, "on", "开"},
    {ReportText::kOff, "off", "关"},
    {ReportText::kLevelOff, " (off)", "（关）"},
    {ReportText::kPeak, "peak", "峰值"},
    {ReportText::kLowShelf, "low shelf", "低架"},
    {ReportText::kHighShelf, "high shelf", "高架"},
    {ReportText::kLowPass, "low-pass", "低通"},
    {ReportText::kHighPass, "high-pass", "高通"},
    {ReportText::kEqInCircuit, "EQ in circuit", "均衡器接入"},
    {ReportText::kCompInCircuit, "Compressor in circuit", "压缩器接入"},
};
static_assert(FollowsEnum(kWords, static_cast<int>(ReportText::kCount)),
              "one entry per word, in ReportText order");

}  // namespace

std::string_view ReportWord(ReportText text, Lang lang) {
  return TextOf(kWords, text, lang);
}

std::string_view ShownBandType(int type, Lang lang) {
  constexpr std::array kTypes = {ReportText::kPeak, ReportText::kLowShelf, ReportText::kHighShelf,
                                 ReportText::kLowPass, ReportText::kHighPass};
  if (type < 0 || type >= static_cast<int>(kTypes.size())) return {};
  return ReportWord(kTypes[static_cast<std::size_t>(type)], lang);
}

}  // namespace tavelo
