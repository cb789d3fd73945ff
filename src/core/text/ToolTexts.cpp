#include "core/text/ToolTexts.h"

#include "core/text/TextTable.h"

namespace tavelo {
namespace {

constexpr TextEntry<ToolText> kTexts[] = {
    {ToolText::kUndo, "Undo", "撤销"},
    {ToolText::kRedo, "Redo", "重做"},
    {ToolText::kUndoBlocked,
     "This step cannot be sent now: %s can only be sent in another application mode. Choose "
     "that mode and try again.",
     "此步骤现在无法发送：%s 只能在另一种应用模式下发送。请切换到该模式后重试。"},
    {ToolText::kToolsGroup, "A/B and compare", "A/B 与比较"},
    {ToolText::kStoreA, "Store A", "存为 A"},
    {ToolText::kStoreB, "Store B", "存为 B"},
    {ToolText::kLiveNone, "A / B", "A / B"},
    {ToolText::kLiveA, "Live: A", "当前: A"},
    {ToolText::kLiveB, "Live: B", "当前: B"},
    {ToolText::kAbNeedsBoth, "Store the current preset as A and as B first, then switch.",
     "请先将当前预设分别存为 A 和 B，然后再切换。"},
    {ToolText::kAbUncarried,
     "These values cannot be sent on their own and would stay as they are: %s. Switch the "
     "rest anyway? To change them too, upload the preset to the processor.",
     "以下参数无法单独发送，将保持不变：%"
     "s。仍然切换其余参数吗？如需一并更改，请将预设上传到处理器。"},
    {ToolText::kCompareWithFile, "Compare with file...", "与文件比较..."},
    {ToolText::kCompareTitle, "Processor compared with %s", "处理器与 %s 的比较"},
    {ToolText::kCompareField, "Field", "参数"},
    {ToolText::kCompareProcessor, "Processor", "处理器"},
    {ToolText::kCompareFile, "File", "文件"},
    {ToolText::kCompareUnit, "Unit", "单位"},
    {ToolText::kCompareCopy, "Copy", "复制"},
    {ToolText::kCompareClose, "Close", "关闭"},
    {ToolText::kCompareSame, "The processor's preset and %s hold the same values.",
     "处理器的预设与 %s 的参数相同。"},
    {ToolText::kCompareRefused, "%s cannot be compared: ", "%s 无法比较："},
    {ToolText::kPresetFileTypes, "Preset files (*)", "预设文件 (*)"},
    {ToolText::kImportFilters, "Import filters...", "导入滤波器..."},
    {ToolText::kExportFilters, "Export filters...", "导出滤波器..."},
    {ToolText::kFilterFileTypes, "Filter text (*.txt);;All files (*)",
     "滤波器文本 (*.txt);;所有文件 (*)"},
    {ToolText::kImportDone, "Filters imported into %s.", "滤波器已导入 %s。"},
    {ToolText::kImportHeld, "Fitted to the processor (values held to its limits, bands left flat):",
     "已按处理器调整（数值限制在范围内，未用频段设为平直）："},
    {ToolText::kImportLeftOver,
     "Not imported, the set has only %d bands (enter them elsewhere or shorten the list):",
     "未导入，该组只有 %d 个频段（请在别处设置或减少滤波器）："},
    {ToolText::kImportProblems, "Lines not taken:", "未采用的行："},
    {ToolText::kImportNothing,
     "No filter in %s could be taken; the bands are unchanged. Export the filters as text "
     "from the measuring program and try again.",
     "%s 中没有可用的滤波器，频段未更改。请从测量软件导出滤波器文本后重试。"},
    {ToolText::kImportDisabled,
     "The page edits no set in AUTO mode, so nothing was imported. Choose Sing or Dance and "
     "import again.",
     "AUTO 模式下本页不编辑任何组，未导入。请选择 Sing 或 Dance 后重新导入。"},
    {ToolText::kFileUnreadable, "%s cannot be read: ", "%s 无法读取："},
    {ToolText::kExportFailed, "%s cannot be written: ", "%s 无法写入："},
    {ToolText::kExportDone, "The filters were written to %s.", "滤波器已写入 %s。"},
    {ToolText::kImportSkippedOff, "Skipped: %d filters switched off in the file (OFF or None).",
     "已跳过：文件中 %d 个已关闭的滤波器（OFF 或 None）。"},
    {ToolText::kImportSkippedLines,
     "Skipped: %d other lines without a filter (names, device and comment lines).",
     "已跳过：%d 行不含滤波器的其他内容（名称、设备和注释行）。"},
};

static_assert(FollowsEnum(kTexts, kToolTextCount), "one entry per text, in ToolText order");

}  // namespace

const char* Text(ToolText id, Lang lang) {
  return TextOf(kTexts, id, lang);
}

std::string FormatText(ToolText id, Lang lang, std::string_view argument) {
  std::string text = Text(id, lang);
  for (const char* mark : {"%s", "%d"}) {
    const auto at = text.find(mark);
    if (at != std::string::npos) return text.replace(at, 2, argument);
  }
  return text;
}

}  // namespace tavelo
