#pragma once
// The six image types. The numbers are stored in the settings file (through its
// own permutation) and passed to the codec, so they never change.

#include <string>
#include <string_view>

namespace vistrel {

enum cximage_type : int {
    IMAGE_TYPE_BMP = 0,
    IMAGE_TYPE_GIF = 1,
    IMAGE_TYPE_JPG = 2,
    IMAGE_TYPE_PNG = 3,
    IMAGE_TYPE_ICO = 4,
    IMAGE_TYPE_TIF = 5,
};

// ".bmp", ".gif", ".jpg", ".png", ".ico", ".tif"; any other value gives "".
std::string_view ImageTypeExtension(int imageType);

// The type that readers pick from the last three characters of a file name,
// lower-cased: "bmp" 0, "jpg" 2, "tif" 5, "png" 3; -1 for files not decoded.
int ImageTypeFromFileName(std::string_view fileName);

} // namespace vistrel
