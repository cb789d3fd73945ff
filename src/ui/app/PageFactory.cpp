#include "ui/app/PageFactory.h"

#include "ui/pages/CDlgBt.h"
#include "ui/pages/CDlgEcho.h"
#include "ui/pages/CDlgFX.h"
#include "ui/pages/CDlgMic.h"
#include "ui/pages/CDlgMusic.h"
#include "ui/pages/CDlgSys.h"
#include "ui/pages/COutputPage.h"
#include "ui/pages/CPageSlot.h"

namespace tavelo::ui {

CPage* MakePage(const nav::NavEntry& entry, const PageContext& context) {
  CPage* page = nullptr;
  switch (entry.page) {
    case nav::PageKind::kMusic:
      page = new CDlgMusic(context.image, context.post, context.size, context.parent);
      break;
    case nav::PageKind::kMainOutput:
      page = new CDlgMaster(context.image, context.post, context.size, context.parent);
      break;
    case nav::PageKind::kSurround:
      page = new CDlgSurl(context.image, context.post, context.size, context.parent);
      break;
    case nav::PageKind::kCentre:
      page = new CDlgCout(context.image, context.post, context.size, context.parent);
      break;
    case nav::PageKind::kSubwoofer:
      page = new CDlgSW(context.image, context.post, context.size, context.parent);
      break;
    case nav::PageKind::kBoost:
      page = new CDlgBt(context.image, context.post, context.size, context.parent);
      break;
    case nav::PageKind::kMic:
      page = new CDlgMic(context.image, context.post, context.size, context.parent);
      break;
    case nav::PageKind::kEcho:
      page = new CDlgEcho(context.image, context.post, context.host, context.size, context.parent);
      break;
    case nav::PageKind::kReverb:
      page = new CDlgFX(context.image, context.post, context.host, context.size, context.parent);
      break;
    case nav::PageKind::kSystem:
      if (context.sys && context.sys->engine) {
        page = new CDlgSys(*context.sys->engine, context.post, *context.sys, context.size,
                           context.parent);
        break;
      }
      [[fallthrough]];
    default:
      page = new CPageSlot(QString("page_%1").arg(entry.cliName), context.image, context.post,
                           context.size, context.parent);
      break;
  }
  return page;
}

}  // namespace tavelo::ui
