// Feeds arbitrary bytes of any length to the download body decoder: it must refuse short
// input untouched, never read past the end, and leave an image that encodes again.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "core/params/BlockEncoder.h"
#include "core/params/Bodies.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A copy of exactly `size` bytes, so any read past it is reported.
  auto body = std::make_unique<std::uint8_t[]>(size == 0 ? 1 : size);
  if (size > 0) std::memcpy(body.get(), data, size);

  tavelo::ParamImage image;
  tavelo::ApplyDefaults(image);
  const tavelo::ParamImage before = image;
  const bool ok = tavelo::DecodeDownloadBody(body.get(), size, image);
  if (ok != (size >= static_cast<std::size_t>(tavelo::kDownloadBodySize))) std::abort();
  if (!ok && !(image == before)) std::abort();

  // Short inputs also drive a full decode, zero-extended, so the fuzzer explores the field
  // decoding without first having to grow its inputs to a whole body.
  std::array<std::uint8_t, tavelo::kDownloadBodySize> full{};
  std::memcpy(full.data(), data, std::min(size, full.size()));
  if (!tavelo::DecodeDownloadBody(full.data(), full.size(), image)) std::abort();

  // What was decoded must build a body that decodes to the same image. (Bytes may differ:
  // a record with the sign bit set and magnitude 0 comes back as a plain 0.)
  std::array<std::uint8_t, tavelo::kDownloadBodySize> rebuilt{};
  tavelo::BuildDownloadBody(image, rebuilt);
  tavelo::ParamImage again = image;
  if (!tavelo::DecodeDownloadBody(rebuilt.data(), rebuilt.size(), again) || !(again == image)) {
    std::abort();
  }

  // Every block the decoded image can produce stays inside its payload.
  tavelo::Payload payload;
  for (int code = 0; code < 80; ++code) {
    for (int arg : {0, 1, 2, 3, 4, 5, 0x0203, 0x0A09}) {
      if (tavelo::EncodeBlock(image, code, tavelo::BlockArg::Value(arg), payload) ==
              tavelo::EncodeResult::kPayload &&
          (payload.length < 1 || payload.length > tavelo::kMaxCommandData)) {
        std::abort();
      }
    }
  }
  return 0;
}
