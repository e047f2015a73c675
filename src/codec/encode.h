#pragma once
// Encoding of the six image types into a byte sink. keepAlpha writes the alpha
// channel where the type can hold it (PNG, TIFF, BMP, ICO: full alpha; GIF: one
// transparent colour for alpha below 128); otherwise the picture is written
// opaque. False on any failure, a sink that fails or throws included (then the
// sink holds an incomplete file); no exception leaves EncodeImage.

#include "codec/bitmap.h"
#include "codec/byte_sink.h"
#include "codec/image_type.h"

namespace vistrel {

bool EncodeImage(const Bitmap& bitmap, bool keepAlpha, cximage_type type, ByteSink& sink);

// The side an icon may have; larger pictures are scaled down to fit.
constexpr int kMaxIconSide = 256;

} // namespace vistrel
