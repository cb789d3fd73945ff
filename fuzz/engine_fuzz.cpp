// The engine against a processor that answers with arbitrary bytes: while it connects,
// downloads and uploads, replies are fuzzer bytes (raw, or wrapped into well-formed reply
// frames so the dispatcher sees deep inputs), ticks and page requests interleaved.
// Nothing may crash, read out of bounds or run without end.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "core/engine/Engine.h"

namespace {

using namespace tavelo;

class ScriptedTransport : public Transport {
 public:
  ScriptedTransport(LinkKind kind, std::deque<std::uint8_t>& incoming, bool& failNext)
      : kind_(kind), incoming_(incoming), failNext_(failNext) {}
  LinkKind Kind() const override { return kind_; }
  bool Open() override { return true; }
  bool IsConnected() const override { return true; }
  int Send(const std::uint8_t*, int size) override { return size; }
  FetchStatus Fetch(std::uint8_t* out, std::size_t capacity, std::size_t& got) override {
    got = 0;
    if (failNext_) {
      failNext_ = false;
      return FetchStatus::kFailed;
    }
    while (got < capacity && got < 97 && !incoming_.empty()) {
      out[got++] = incoming_.front();
      incoming_.pop_front();
    }
    return got > 0 ? FetchStatus::kBytes : FetchStatus::kNothing;
  }
  void Close() override {}

 private:
  LinkKind kind_;
  std::deque<std::uint8_t>& incoming_;
  bool& failNext_;
};

class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool More() const { return pos_ < size_; }
  std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

void AppendFrame(std::deque<std::uint8_t>& out, std::uint8_t code, Reader& in, int length) {
  std::vector<std::uint8_t> payload;
  payload.push_back(static_cast<std::uint8_t>(~code));
  for (int i = 0; i < length; ++i) payload.push_back(in.Byte());
  const auto n = static_cast<std::uint16_t>(payload.size());
  std::uint8_t sum = static_cast<std::uint8_t>((n & 0xFF) + (n >> 8));
  for (std::uint8_t b : payload) sum = static_cast<std::uint8_t>(sum + b);
  out.push_back(0x55);
  out.push_back(static_cast<std::uint8_t>(n & 0xFF));
  out.push_back(static_cast<std::uint8_t>(n >> 8));
  out.insert(out.end(), payload.begin(), payload.end());
  out.push_back(static_cast<std::uint8_t>(-sum));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 8192) return 0;
  Reader in(data, size);
  std::deque<std::uint8_t> incoming;
  bool failNext = false;
  EngineObserver observer;
  Engine engine(observer);
  engine.SetParamDir("/nonexistent-tavelo-fuzz-dir");
  const LinkKind kind = (in.Byte() & 1) ? LinkKind::kWifi : LinkKind::kUsb;
  engine.SetTransportFactory([&]() -> std::unique_ptr<Transport> {
    return std::make_unique<ScriptedTransport>(kind, incoming, failNext);
  });
  engine.Post(msg::Connect{});

  // Codes the dispatcher knows, so well-formed frames usually mean something.
  static constexpr std::uint8_t kReplyCodes[] = {28, 63, 64, 65, 66, 67, 1,  20, 22,
                                                 23, 43, 44, 45, 46, 50, 51, 58, 75};
  while (in.More()) {
    const std::uint8_t op = in.Byte();
    switch (op % 10) {
      case 0:
      case 1:
        engine.Tick();
        break;
      case 2: {  // raw bytes
        const int n = in.Byte() % 64;
        for (int i = 0; i < n; ++i) incoming.push_back(in.Byte());
        engine.BytesArrived();
        break;
      }
      case 3:
      case 4: {  // a well-formed reply with fuzzer data
        const std::uint8_t code = kReplyCodes[in.Byte() % sizeof(kReplyCodes)];
        AppendFrame(incoming, code, in, in.Byte() % 72);
        engine.BytesArrived();
        break;
      }
      case 5: {  // a page request
        const int code = in.Byte() % 80;
        const int value = in.Byte() | in.Byte() << 8;
        std::uint8_t buffer[33];
        for (auto& b : buffer) b = in.Byte();
        BlockArg arg = BlockArg::Buffer(buffer, in.Byte() % 34);
        arg.value = value;
        engine.Post(msg::Block{static_cast<CommandCode>(code), arg});
        break;
      }
      case 6:
        for (int i = 0; i < in.Byte() % 200; ++i) engine.Tick();
        break;
      case 7:
        switch (in.Byte() % 6) {
          case 0:
            engine.Post(msg::Connect{});
            break;
          case 1:
            engine.Post(msg::UnlockClosed{});
            break;
          case 2:
            engine.Post(msg::MassUpload{{"a", "b"}, (in.Byte() & 1) != 0});
            break;
          case 3:
            engine.Post(msg::LoadFromPc{in.Byte() % 3 - 1, {}});
            break;
          case 4:
            engine.Post(msg::SetAdjustManner{in.Byte() & 1});
            break;
          default:
            engine.Post(msg::Distribute{});
            break;
        }
        break;
      case 8:
        failNext = true;
        engine.BytesArrived();
        break;
      default:
        engine.BytesArrived();
        break;
    }
  }
  // Whatever state it is in, the engine ends by itself: every wait is bounded in ticks.
  for (int i = 0; i < 400 && engine.State() != ConnState::kIdle; ++i) engine.Tick();
  if (engine.State() != ConnState::kConnected && engine.State() != ConnState::kIdle)
    __builtin_trap();
  return 0;
}
