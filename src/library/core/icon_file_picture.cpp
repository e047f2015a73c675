#include "library/core/icon_file_picture.h"

#include "icons/core/icon_fit.h"
#include "icons/core/icon_resource.h"

namespace vistrel {

std::optional<Bitmap> IconFilePicture(const std::string& path, uint32_t side)
{
    constexpr uint32_t kDepth = 32;
    const auto icon = ReadIconFromIcoFile(path);
    if (!icon)
        return std::nullopt;
    for (const size_t index : RankIconImages(*icon, side, kDepth))
        if (auto picture = DecodeIconImage(icon->images[index]))
            return std::move(picture->bitmap);
    return std::nullopt;
}

} // namespace vistrel
