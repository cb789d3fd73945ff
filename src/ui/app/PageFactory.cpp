#include "ui/app/PageFactory.h"

#include "ui/pages/CDlgEcho.h"
#include "ui/pages/CDlgFX.h"
#include "ui/pages/CDlgMusic.h"
#include "ui/pages/CPageSlot.h"

namespace tavelo::ui {

CPage* MakePage(const nav::NavEntry& entry, const PageContext& context) {
  CPage* page = nullptr;
  switch (entry.page) {
    case nav::PageKind::kMusic:
      page = new CDlgMusic(context.image, context.post, context.size, context.parent);
      break;
    case nav::PageKind::kEcho:
      page = new CDlgEcho(context.image, context.post, context.host, context.size, context.parent);
      break;
    case nav::PageKind::kReverb:
      page = new CDlgFX(context.image, context.post, context.host, context.size, context.parent);
      break;
    default:
      page = new CPageSlot(QString("page_%1").arg(entry.cliName), context.image, context.post,
                           context.size, context.parent);
      break;
  }
  return page;
}

}  // namespace tavelo::ui
