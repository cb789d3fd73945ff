#pragma once
// Texts of the panel's tools (undo and redo, A/B, compare with a file, filter import and
// export), in English and Chinese. A table of its own so the tools' words stay together.
#include <string>
#include <string_view>

#include "core/text/Lang.h"

namespace tavelo {

enum class ToolText : int {
  kUndo,
  kRedo,
  kUndoBlocked,  // "%s": the values that cannot be sent now
  kToolsGroup,
  kStoreA,
  kStoreB,
  kLiveNone,
  kLiveA,
  kLiveB,
  kAbNeedsBoth,
  kAbUncarried,  // "%s": the values no block carries
  kCompareWithFile,
  kCompareTitle,  // "%s": the file's name
  kCompareField,
  kCompareProcessor,
  kCompareFile,
  kCompareUnit,
  kCompareCopy,
  kCompareClose,
  kCompareSame,     // "%s": the file's name
  kCompareRefused,  // "%s": the file's name; the reason follows
  kPresetFileTypes,
  kImportFilters,
  kExportFilters,
  kFilterFileTypes,
  kImportDone,          // "%s": the set's name
  kImportHeld,          // heading of the values held to limits and the bands left flat
  kImportLeftOver,      // "%d": the set's band count
  kImportProblems,      // heading of the lines not taken
  kImportNothing,       // "%s": the file's name
  kImportDisabled,      // the page edits no set now
  kFileUnreadable,      // "%s": the file's name; the reason follows
  kExportFailed,        // "%s": the file's name; the reason follows
  kExportDone,          // "%s": the file's name
  kImportSkippedOff,    // "%d": filters switched off in the file
  kImportSkippedLines,  // "%d": lines without a filter
  kCount
};

inline constexpr int kToolTextCount = static_cast<int>(ToolText::kCount);

const char* Text(ToolText id, Lang lang);
// The first "%s" (or "%d") replaced by the argument, as FormatText does.
std::string FormatText(ToolText id, Lang lang, std::string_view argument);

}  // namespace tavelo
