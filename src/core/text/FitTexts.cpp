#include "core/text/FitTexts.h"

#include "core/text/Placeholders.h"
#include "core/text/TextTable.h"

namespace tavelo {
namespace {

constexpr TextEntry<FitText> kTexts[] = {
    {FitText::kLine, "line {0}: {1}", "第 {0} 行：{1}"},
    {FitText::kNoSpl, "{0} holds no SPL after the frequency", "{0} 在频率之后没有声压级数值"},
    {FitText::kFrequency, "frequency", "频率"},
    {FitText::kSpl, "SPL", "声压级"},
    {FitText::kNotMeasured, "the {0} is {1}, not a measured value", "{0}是 {1}，不是测量值"},
    {FitText::kNotANumber, "the {0} {1} is not a number", "{0} {1} 不是数字"},
    {FitText::kNotAboveZero, "the frequency {0} Hz is not above 0 Hz", "频率 {0} Hz 不大于 0 Hz"},
    {FitText::kNotRising, "the frequency {0} Hz does not rise above {1} Hz on line {2}",
     "频率 {0} Hz 没有高于第 {2} 行的 {1} Hz（频率必须逐行升高）"},
    {FitText::kTooFewPoints,
     "only {0} points lie between 20 Hz and 20 kHz ({1}); a response needs {2} or more",
     "20 Hz 至 20 kHz 之间只有 {0} 个点（{1}）；响应曲线至少需要 {2} 个点"},
    {FitText::kLinesNone, "none", "无"},
    {FitText::kLinesRange, "lines {0}-{1}", "第 {0}-{1} 行"},
    {FitText::kOutsideToo, "; {0} points lie outside", "；另有 {0} 个点在此范围之外"},
    {FitText::kPointsLeftOut, "{0} points below 20 Hz or above 20 kHz were left out",
     "已略去 {0} 个低于 20 Hz 或高于 20 kHz 的点"},
    {FitText::kNoMeasurement, "no measurement was given", "没有提供测量文件"},
    {FitText::kBadFitRange, "the fit range {0} to {1} is not a range between 20 Hz and 20 kHz",
     "拟合范围 {0} 至 {1} 不是 20 Hz 至 20 kHz 之间的有效范围"},
    {FitText::kBadAlignBand, "the alignment band {0} to {1} is not a range",
     "电平对齐范围 {0} 至 {1} 不是有效范围"},
    {FitText::kBadGrid, "the grid needs between 1 and 192 points per octave",
     "频率网格每倍频程需要 1 至 192 个点"},
    {FitText::kShortCurve, "a measurement holds fewer than two points", "某个测量文件少于两个点"},
    {FitText::kMissesAlign,
     "the measurements ({0} to {1} in common) do not reach the alignment band {2} to {3}",
     "测量文件的共同范围（{0} 至 {1}）达不到电平对齐范围 {2} 至 {3}"},
    {FitText::kNoAlignPoint, "no point of the grid lies in the alignment band {0} to {1}",
     "电平对齐范围 {0} 至 {1} 内没有任何频率点"},
    {FitText::kMissesRange,
     "the measurements ({0} to {1} in common) hardly reach the fit range {2} to {3}",
     "测量文件的共同范围（{0} 至 {1}）几乎没有覆盖拟合范围 {2} 至 {3}"},
    {FitText::kRangeNarrowed,
     "the fit range is narrowed to {0} to {1}, which the measurements cover",
     "拟合范围已缩小为测量文件覆盖的 {0} 至 {1}"},
    {FitText::kGainAtBoostLimit, "gain at the {0} boost limit", "增益达到 {0} 的提升上限"},
    {FitText::kSumAtBoostLimit, "boost held with the other bands at the {0} limit",
     "与其他频段合计的提升达到 {0} 的上限"},
    {FitText::kGainAtLimit, "gain at the {0} limit", "增益达到 {0} 的极限"},
    {FitText::kQAtLimit, "Q at the {0} limit", "Q 值达到 {0} 的极限"},
    {FitText::kFrequencyAtEdge, "frequency at the {0} Hz edge", "频率位于 {0} Hz 的边界"},
    {FitText::kFitButton, "Fit to measurement...", "按测量拟合..."},
    {FitText::kDialogTitle, "Fit {0} to a measurement", "按测量结果拟合 {0}"},
    {FitText::kMeasurements, "Measurements (averaged):", "测量文件（取平均）："},
    {FitText::kAddMeasurement, "Add...", "添加..."},
    {FitText::kClearMeasurements, "Clear", "清除"},
    {FitText::kTarget, "Target:", "目标曲线："},
    {FitText::kTargetFlat, "Flat", "平直"},
    {FitText::kChooseTarget, "House curve...", "目标曲线文件..."},
    {FitText::kFitRange, "Fit range (Hz):", "拟合范围 (Hz)："},
    {FitText::kAlignBand, "Level aligned over (Hz):", "电平对齐范围 (Hz)："},
    {FitText::kMaxBoost, "Maximum boost (dB):", "最大提升 (dB)："},
    {FitText::kRunFit, "Fit", "拟合"},
    {FitText::kFitting, "Fitting...", "正在拟合..."},
    {FitText::kApply, "Apply", "应用"},
    {FitText::kCancel, "Cancel", "取消"},
    {FitText::kMeasurementFiles, "Measurements (*.txt *.csv *.frd);;All files (*)",
     "测量文件 (*.txt *.csv *.frd);;所有文件 (*)"},
    {FitText::kFileRefused, "{0} cannot be used: {1}", "{0} 无法使用：{1}"},
    {FitText::kFileUnreadable, "{0} cannot be read: {1}", "{0} 无法读取：{1}"},
    {FitText::kFileTooLarge, "{0} cannot be used: it is larger than any measurement",
     "{0} 无法使用：文件大于任何测量文件"},
    {FitText::kNeedsNumber, "{0} {1} is not a number; enter hertz or decibels as digits.",
     "{0}{1} 不是数字，请以数字输入赫兹或分贝值。"},
    {FitText::kBoostOutOfRange, "The maximum boost must lie between 0 and {0} dB.",
     "最大提升必须在 0 至 {0} dB 之间。"},
    {FitText::kNoMeasurementYet, "Add a measurement file first.", "请先添加测量文件。"},
    {FitText::kNothingFitted, "Nothing was fitted: {0}.", "未进行拟合：{0}。"},
    {FitText::kPageDisabled,
     "The page edits no set in AUTO mode, so nothing can be fitted. Choose Sing or Dance and "
     "fit again.",
     "AUTO 模式下本页不编辑任何组，无法拟合。请选择 Sing 或 Dance 后重新拟合。"},
    {FitText::kSummary,
     "{0} bands fitted to {1} measurement(s), {2} to {3} Hz ({4} points), maximum boost {5} dB",
     "{0} 个频段已按 {1} 个测量文件拟合，{2} 至 {3} Hz（{4} 个点），最大提升 {5} dB"},
    {FitText::kErrorBefore, "Error before: {0} dB RMS, {1} dB max",
     "拟合前误差：均方根 {0} dB，最大 {1} dB"},
    {FitText::kErrorAfter, "Error after: {0} dB RMS, {1} dB max",
     "拟合后误差：均方根 {0} dB，最大 {1} dB"},
    {FitText::kBandLine, "Band {0}: {1}, {2} Hz, Q {3}, {4} dB",
     "频段 {0}：{1}，{2} Hz，Q {3}，{4} dB"},
    {FitText::kBandFlat, "Band {0}: flat (not needed)", "频段 {0}：平直（不需要）"},
    {FitText::kBandHeld, "Band {0} held by the processor: {1}", "频段 {0} 受处理器限制：{1}"},
    {FitText::kNote, "Note: {0}", "注意：{0}"},
    {FitText::kLegendMeasured, "Measured", "测量"},
    {FitText::kLegendTarget, "Target", "目标"},
    {FitText::kLegendPredicted, "Predicted", "预测"},
    {FitText::kApplied, "The fitted bands were set in {0}.", "拟合的频段已设置到 {0}。"},
};

static_assert(FollowsEnum(kTexts, kFitTextCount), "one entry per text, in FitText order");

}  // namespace

const char* Text(FitText id, Lang lang) {
  return TextOf(kTexts, id, lang);
}

std::string SayFit(FitText id, Lang lang, std::initializer_list<std::string_view> args) {
  return FillPlaceholders(Text(id, lang), args);
}

}  // namespace tavelo
