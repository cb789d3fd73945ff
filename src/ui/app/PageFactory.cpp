#include "ui/app/PageFactory.h"

#include "ui/pages/BoostPage.h"
#include "ui/pages/EchoPage.h"
#include "ui/pages/MicPage.h"
#include "ui/pages/MusicPage.h"
#include "ui/pages/OutputPage.h"
#include "ui/pages/PlaceholderPage.h"
#include "ui/pages/ReverbPage.h"
#include "ui/pages/SystemPage.h"

namespace tavelo::ui {

Page* MakePage(const nav::NavEntry& entry, const PageContext& context) {
  Page* page = nullptr;
  switch (entry.page) {
    case nav::PageKind::kMusic:
      page = new MusicPage(context.image, context.post, context.size, context.parent);
      break;
    case nav::PageKind::kMainOutput:
      page = new MainOutputPage(context.image, context.post, context.size, context.parent);
      break;
    case nav::PageKind::kSurround:
      page = new SurroundPage(context.image, context.post, context.size, context.parent);
      break;
    case nav::PageKind::kCentre:
      page = new CentrePage(context.image, context.post, context.size, context.parent);
      break;
    case nav::PageKind::kSubwoofer:
      page = new SubwooferPage(context.image, context.post, context.size, context.parent);
      break;
    case nav::PageKind::kBoost:
      page = new BoostPage(context.image, context.post, context.size, context.parent);
      break;
    case nav::PageKind::kMic:
      page = new MicPage(context.image, context.post, context.size, context.parent);
      break;
    case nav::PageKind::kEcho:
      page = new EchoPage(context.image, context.post, context.host, context.size, context.parent);
      break;
    case nav::PageKind::kReverb:
      page =
          new ReverbPage(context.image, context.post, context.host, context.size, context.parent);
      break;
    case nav::PageKind::kSystem:
      if (context.sys && context.sys->engine) {
        page = new SystemPage(*context.sys->engine, context.post, *context.sys, context.size,
                              context.parent);
        break;
      }
      [[fallthrough]];
    default:
      page = new PlaceholderPage(QString("page_%1").arg(entry.cliName), context.image, context.post,
                                 context.size, context.parent);
      break;
  }
  return page;
}

}  // namespace tavelo::ui
