#pragma once
// Save As of a captured picture: the filter the save dialog offers, where the
// chosen filter puts the file and as what, and which captures can be read to
// be converted. Plain data, any thread.

#include "codec/image_type.h"

#include <string>
#include <string_view>

namespace vistrel {

// "Bitmap Files(*.bmp)|*.bmp|Jpeg Files(*.jpg)|*.jpg|Tiff Files(*.tif)|*.tif|Png Files(*.png)|*.png||"
std::string_view SaveAsFilter();

struct SaveAsTarget {
    std::string path;
    cximage_type type;
};

// filterIndex from 1 (the filter's order; 5 is GIF, which the filter does not
// offer). The chosen path's extension, from the last dot of its file name on,
// is replaced by the filter's; an index without one keeps no extension and
// writes a bitmap.
SaveAsTarget SaveAsTargetFor(std::string_view chosenPath, int filterIndex);

// The decoder for a captured file by the last three characters of its name,
// lower-cased: bmp, jpg, tif, png, and gif (the program writes GIF captures,
// so they convert too); -1 for any other file.
int ReadableImageType(std::string_view path);

} // namespace vistrel
