#pragma once
// The per-format entry points behind DecodeImage and EncodeImage.

#include "codec/bitmap.h"
#include "codec/byte_sink.h"
#include "codec/decode.h"

#include <cstdint>
#include <optional>
#include <span>

namespace vistrel {

std::optional<DecodedImage> DecodeBmp(std::span<const uint8_t> data);
std::optional<DecodedImage> DecodePng(std::span<const uint8_t> data);
// minWidth x minHeight above 0: decoded at the smallest scale (1/1 to 1/8) that covers it.
std::optional<DecodedImage> DecodeJpeg(std::span<const uint8_t> data, int minWidth = 0, int minHeight = 0);
std::optional<DecodedImage> DecodeTiff(std::span<const uint8_t> data);
std::optional<DecodedImage> DecodeGif(std::span<const uint8_t> data);
std::optional<DecodedImage> DecodeIco(std::span<const uint8_t> data);

bool EncodeBmp(const Bitmap& bitmap, bool keepAlpha, ByteSink& sink);
bool EncodePng(const Bitmap& bitmap, bool keepAlpha, ByteSink& sink);
bool EncodeJpeg(const Bitmap& bitmap, ByteSink& sink);
bool EncodeTiff(const Bitmap& bitmap, bool keepAlpha, ByteSink& sink);
bool EncodeGif(const Bitmap& bitmap, bool keepAlpha, ByteSink& sink);
bool EncodeIco(const Bitmap& bitmap, bool keepAlpha, ByteSink& sink);

// True when some pixel is not fully opaque.
bool HasTransparency(const Bitmap& bitmap);

} // namespace vistrel
