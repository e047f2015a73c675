#include "codec/image_type.h"

#include <cctype>

namespace vistrel {

std::string_view ImageTypeExtension(int imageType)
{
    switch (imageType) {
    case IMAGE_TYPE_BMP: return ".bmp";
    case IMAGE_TYPE_GIF: return ".gif";
    case IMAGE_TYPE_JPG: return ".jpg";
    case IMAGE_TYPE_PNG: return ".png";
    case IMAGE_TYPE_ICO: return ".ico";
    case IMAGE_TYPE_TIF: return ".tif";
    default: return "";
    }
}

int ImageTypeFromFileName(std::string_view fileName)
{
    if (fileName.size() < 3)
        return -1;
    std::string last;
    for (char c : fileName.substr(fileName.size() - 3))
        last += char(std::tolower(static_cast<unsigned char>(c)));
    if (last == "bmp") return IMAGE_TYPE_BMP;
    if (last == "jpg") return IMAGE_TYPE_JPG;
    if (last == "tif") return IMAGE_TYPE_TIF;
    if (last == "png") return IMAGE_TYPE_PNG;
    return -1;
}

} // namespace vistrel
