#pragma once
// Shared helpers of the virtual processor tests: ask the model as the panel would and read
// the reply back through the real reply parser.
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "core/link/ReplyParser.h"
#include "core/params/BlockEncoder.h"
#include "core/params/Bodies.h"
#include "core/sim/VirtualProcessor.h"

namespace tavelo::simtest {

struct Answer {
  bool valid = false;  // the reply parser accepted the frame
  std::uint8_t code = 0;
  std::vector<std::uint8_t> data;
  std::vector<std::uint8_t> frame;
  SimReply raw;
};

inline Answer Parse(SimReply raw) {
  Answer a;
  a.frame = raw.bytes;
  ReplyParser parser;
  parser.Feed(raw.bytes.data(), raw.bytes.size(), [&](const Reply& r) {
    a.valid = true;
    a.code = r.code;
    a.data.assign(r.data, r.data + r.dataLength);
    return true;
  });
  a.raw = std::move(raw);
  return a;
}

inline Answer Ask(VirtualProcessor& p, const Payload& payload) {
  return Parse(p.Answer(payload.code, payload.data.data(), payload.length));
}

inline Answer Ask(VirtualProcessor& p, std::uint8_t code, std::initializer_list<int> data = {}) {
  std::vector<std::uint8_t> bytes;
  for (int b : data) bytes.push_back(static_cast<std::uint8_t>(b));
  return Parse(p.Answer(code, bytes.data(), static_cast<int>(bytes.size())));
}

inline int Le16(const std::vector<std::uint8_t>& v, std::size_t at) {
  return v[at] | (v[at + 1] << 8);
}

// The panel's download: read-start, then chunks of at most 58 bytes. Fails the test when
// a reply is missing or the body checksum does not hold.
inline std::vector<std::uint8_t> Download(VirtualProcessor& p) {
  Answer start = Ask(p, 63);
  EXPECT_TRUE(start.valid);
  if (!start.valid) return {};
  const int total = Le16(start.data, 17);
  std::vector<std::uint8_t> body;
  while (static_cast<int>(body.size()) < total) {
    const int count = std::min(58, total - static_cast<int>(body.size()));
    Answer chunk = Ask(p, ChunkRequestPayload(static_cast<int>(body.size()), count));
    EXPECT_TRUE(chunk.valid);
    EXPECT_EQ(static_cast<int>(chunk.data.size()), count);
    if (!chunk.valid) return {};
    body.insert(body.end(), chunk.data.begin(), chunk.data.end());
  }
  EXPECT_EQ(BodyChecksum(body.data(), body.size()), start.data[19]);
  return body;
}

// The panel's preset upload: 65, chunks of at most 60 bytes, 67. Returns the result byte
// of the finish reply.
inline int Upload(VirtualProcessor& p, const ParamImage& image, std::uint8_t slotByte,
                  std::uint8_t powerMode = 0) {
  std::array<std::uint8_t, kUploadBodySize> body{};
  BuildUploadBody(image, body);
  Answer start =
      Ask(p, UploadStartPayload(kUploadBodySize, BodyChecksum(body.data(), body.size())));
  EXPECT_TRUE(start.valid);
  for (int offset = 0; offset < kUploadBodySize; offset += 60) {
    const int count = std::min(60, kUploadBodySize - offset);
    EXPECT_TRUE(Ask(p, UploadChunkPayload(offset, body.data() + offset, count)).valid);
  }
  Answer finish = Ask(p, UploadFinishPayload(slotByte, powerMode));
  EXPECT_TRUE(finish.valid);
  return finish.data.empty() ? -1 : finish.data[0];
}

inline std::array<std::uint8_t, kUploadBodySize> PresetBody(const ParamImage& image) {
  std::array<std::uint8_t, kUploadBodySize> body{};
  BuildUploadBody(image, body);
  return body;
}

inline void SetName(ParamImage& image, const char* text) {
  image.name.fill(' ');
  for (std::size_t i = 0; text[i] != '\0' && i < image.name.size(); ++i) image.name[i] = text[i];
}

}  // namespace tavelo::simtest
