#include "library/core/save_as_types.h"

#include "library/core/list_edits.h"

#include <cctype>

namespace vistrel {

namespace {

struct FilterType {
    std::string_view extension;
    cximage_type type;
};

// By filter index 1 to 5.
constexpr FilterType kTypes[] = {
    {".bmp", IMAGE_TYPE_BMP}, {".jpg", IMAGE_TYPE_JPG}, {".tif", IMAGE_TYPE_TIF},
    {".png", IMAGE_TYPE_PNG}, {".gif", IMAGE_TYPE_GIF},
};

} // namespace

std::string_view SaveAsFilter()
{
    return "Bitmap Files(*.bmp)|*.bmp|Jpeg Files(*.jpg)|*.jpg|Tiff Files(*.tif)|*.tif|Png Files(*.png)|*.png||";
}

SaveAsTarget SaveAsTargetFor(std::string_view chosenPath, int filterIndex)
{
    const std::string_view name = FileNameOf(chosenPath);
    const size_t dot = name.rfind('.');
    std::string path(dot == std::string_view::npos ? chosenPath
                                                    : chosenPath.substr(0, chosenPath.size() - (name.size() - dot)));
    if (filterIndex < 1 || filterIndex > int(std::size(kTypes)))
        return {path, IMAGE_TYPE_BMP};
    const FilterType& chosen = kTypes[filterIndex - 1];
    path += chosen.extension;
    return {path, chosen.type};
}

int ReadableImageType(std::string_view path)
{
    const std::string_view name = FileNameOf(path);
    if (name.size() >= 3) {
        std::string last;
        for (char c : name.substr(name.size() - 3))
            last += char(std::tolower(static_cast<unsigned char>(c)));
        if (last == "gif")
            return IMAGE_TYPE_GIF;
    }
    return ImageTypeFromFileName(name);
}

} // namespace vistrel
