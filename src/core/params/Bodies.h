#pragma once
// The whole-set layouts: the 937-byte body a full download delivers and the 654-byte
// preset body an upload carries.
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/params/ParamImage.h"

namespace tavelo {

inline constexpr int kDownloadBodySize = 937;
inline constexpr int kUploadBodySize = 654;
inline constexpr int kTransferBufferSize = 4096;

// One byte such that the body bytes plus it sum to 0 modulo 256.
std::uint8_t BodyChecksum(const std::uint8_t* body, std::size_t size);

// Decodes a downloaded body into the image (EQ records decoded with slope 0, preset
// names, boost block, tone words into the tone groups, Bluetooth names). Never reads past
// `size`; returns false (image untouched) when fewer than 937 bytes are given.
bool DecodeDownloadBody(const std::uint8_t* body, std::size_t size, ParamImage& image);

// Builds the 654-byte preset body from the image.
void BuildUploadBody(const ParamImage& image, std::array<std::uint8_t, kUploadBodySize>& out);

// The inverse of a download, for the virtual processor: the 937 bytes it would send.
void BuildDownloadBody(const ParamImage& image, std::array<std::uint8_t, kDownloadBodySize>& out);

// Applies a received 654-byte preset body to an image (the virtual processor's side).
void DecodeUploadBody(const std::uint8_t* body, ParamImage& image);

}  // namespace tavelo
