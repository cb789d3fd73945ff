#pragma once
// Makes the page of each navigation entry. A new page class is registered here for its
// PageKind; entries whose page is not built yet get an empty page frame.
#include <QSize>

#include "ui/app/Navigation.h"
#include "ui/pages/PageHost.h"
#include "ui/pages/PageModel.h"

class QWidget;

namespace tavelo::ui {

class Page;
struct SysHooks;

struct PageContext {
  ParamImage& image;  // the engine's image, edited in place
  BlockPoster post;   // the page's block requests
  QSize size;
  QWidget* parent;
  PageHost host;                  // what a page may ask of the main window besides posting
  const SysHooks* sys = nullptr;  // the system page's engine and main-window hooks
};

Page* MakePage(const nav::NavEntry& entry, const PageContext& context);

}  // namespace tavelo::ui
