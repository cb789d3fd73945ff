#include "ui/app/LinkFactory.h"

namespace tavelo::ui {

std::unique_ptr<Transport> MakePlatformTransport(bool /*wifi*/, const std::string& /*host*/,
                                                 int /*port*/) {
  return nullptr;
}

}  // namespace tavelo::ui
