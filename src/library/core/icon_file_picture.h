#pragma once
// An icon file's icon as the library shows it: of the file's images, the one
// that best fits the side asked for (icons/core/icon_fit.h) and decodes. Any
// thread.

#include "codec/bitmap.h"

#include <cstdint>
#include <optional>
#include <string>

namespace vistrel {

// nullopt when the file is missing, is no icon file, or no image decodes.
std::optional<Bitmap> IconFilePicture(const std::string& path, uint32_t side);

} // namespace vistrel
