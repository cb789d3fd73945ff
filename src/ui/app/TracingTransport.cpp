#include "ui/app/TracingTransport.h"

#include "core/link/WireTrace.h"
#include "ui/app/LogCategories.h"

namespace tavelo::ui {
namespace {

QString Plain(const std::string& text) {
  return QString::fromStdString(text);
}

// The link as the user knows it; the built-in demo has no address to show.
QString NameOf(const Transport& link) {
  const std::string name = link.Describe();
  return name.empty() ? QStringLiteral("the link") : QString::fromStdString(name);
}

}  // namespace

TracingTransport::TracingTransport(std::unique_ptr<Transport> inner) : inner_(std::move(inner)) {
  inner_->SetWakeup([this] { Wake(); });
}

bool TracingTransport::Open() {
  failed_ = false;
  replies_.Reset();
  const bool opened = inner_->Open();
  if (opened)
    qCDebug(lcLink) << "opening" << NameOf(*inner_);
  else
    qCDebug(lcLink) << "cannot open" << NameOf(*inner_) << Plain(inner_->FailureText());
  return opened;
}

int TracingTransport::Send(const std::uint8_t* frame, int size) {
  replies_.Reset();  // as the engine's own parser does for every request
  if (lcWire().isDebugEnabled() && size > 0)
    qCDebug(lcWire).noquote() << Plain(SentFrameLine(frame, static_cast<std::size_t>(size)));
  const int sent = inner_->Send(frame, size);
  if (sent <= 0) qCDebug(lcLink) << "nothing written:" << Plain(inner_->FailureText());
  return sent;
}

FetchStatus TracingTransport::Fetch(std::uint8_t* out, std::size_t capacity, std::size_t& got) {
  const FetchStatus status = inner_->Fetch(out, capacity, got);
  if (status == FetchStatus::kBytes && got > 0 && lcWire().isDebugEnabled()) {
    replies_.Feed(out, got, [](const Reply& reply) {
      qCDebug(lcWire).noquote() << Plain(ReplyLine(reply));
      return true;
    });
  }
  if (status == FetchStatus::kFailed && !failed_) {
    failed_ = true;
    qCDebug(lcLink) << "link failed:" << Plain(inner_->FailureText());
  }
  return status;
}

void TracingTransport::Close() {
  qCDebug(lcLink) << "closing" << NameOf(*inner_);
  inner_->Close();
}

}  // namespace tavelo::ui
