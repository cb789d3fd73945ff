#include "ui/app/MessageCaption.h"

namespace tavelo {

std::string MessageCaption(CaptionKind kind, Lang lang) {
  switch (kind) {
    case CaptionKind::kSpace:
      return std::string(Text(TextId::kCaptionBlank, lang));
    case CaptionKind::kAppTitle:
      return std::string(Text(TextId::kAppTitle, lang));
    case CaptionKind::kEmpty:
      break;
  }
  return {};
}

}  // namespace tavelo
