#pragma once
// The web panel's files as the service serves them: looked up by URL path under one folder
// (the files compiled into the program, ":/web"), each with its content type, and the headers
// every page of the panel carries.
#include <QByteArray>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

namespace tavelo::hub {

struct WebAsset {
  QByteArray body;
  QByteArray contentType;
};

class WebAssets {
 public:
  explicit WebAssets(QString root) : root_(std::move(root)) {}

  // "/" is the panel's index page. Only plain file names in the folder are served: anything
  // with a folder, a dot-dot or an unknown extension is not found.
  std::optional<WebAsset> Find(const QString& urlPath) const;

 private:
  QString root_;
};

// Scripts, styles and connections from the service itself only; no inline code, no frames.
inline constexpr const char* kPanelContentPolicy =
    "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self' data:; "
    "connect-src 'self'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'";

// The headers a panel file goes out with, its content type among them.
std::vector<std::pair<QByteArray, QByteArray>> PanelHeaders(const QByteArray& contentType);

}  // namespace tavelo::hub
