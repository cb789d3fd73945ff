#include "hub/WebAssets.h"

#include <QFile>
#include <QRegularExpression>

namespace tavelo::hub {

namespace {

struct Kind {
  const char* extension;
  const char* contentType;
};

constexpr Kind kKinds[] = {
    {".html", "text/html; charset=utf-8"},
    {".js", "text/javascript; charset=utf-8"},
    {".css", "text/css; charset=utf-8"},
    {".svg", "image/svg+xml"},
};

// The panel's files are few and small; nothing larger is ever served from the folder.
constexpr qint64 kMaxAssetBytes = 512 * 1024;

}  // namespace

std::optional<WebAsset> WebAssets::Find(const QString& urlPath) const {
  static const QRegularExpression plainName(QStringLiteral("^/[a-z0-9][a-z0-9_-]*\\.[a-z]+$"));
  const QString path = urlPath == QStringLiteral("/") ? QStringLiteral("/index.html") : urlPath;
  if (!plainName.match(path).hasMatch()) return std::nullopt;
  for (const Kind& kind : kKinds) {
    if (!path.endsWith(QLatin1String(kind.extension))) continue;
    QFile file(root_ + path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxAssetBytes) return std::nullopt;
    return WebAsset{file.readAll(), kind.contentType};
  }
  return std::nullopt;
}

std::vector<std::pair<QByteArray, QByteArray>> PanelHeaders(const QByteArray& contentType) {
  return {{"Content-Type", contentType},
          {"Content-Security-Policy", kPanelContentPolicy},
          {"X-Content-Type-Options", "nosniff"},
          {"Referrer-Policy", "no-referrer"},
          // The files change with the program: a browser asks again but may reuse its copy.
          {"Cache-Control", "no-cache"}};
}

}  // namespace tavelo::hub
