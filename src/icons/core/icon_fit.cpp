#include "icons/core/icon_fit.h"

#include "codec/dib.h"

#include <algorithm>
#include <numeric>
#include <tuple>

namespace vistrel {

std::vector<size_t> RankIconImages(const IconResource& icon, uint32_t wantedSide, uint32_t wantedDepth)
{
    auto key = [&](size_t i) {
        const IconImage& image = icon.images[i];
        const uint32_t side = std::max(image.width, image.height);
        const int sizeClass = side == wantedSide ? 0 : side > wantedSide ? 1 : 2;
        const uint32_t sizeDistance = side > wantedSide ? side - wantedSide : wantedSide - side;
        const int depthClass = image.colours <= wantedDepth ? 0 : 1;
        const uint32_t depthDistance =
            image.colours <= wantedDepth ? wantedDepth - image.colours : image.colours - wantedDepth;
        return std::tuple(sizeClass, sizeDistance, depthClass, depthDistance);
    };
    std::vector<size_t> order(icon.images.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return key(a) < key(b); });
    return order;
}

std::optional<DecodedImage> DecodeIconImage(const IconImage& image)
{
    if (image.isPng)
        return DecodeImage(image.data, IMAGE_TYPE_PNG);
    return DecodeDib(image.data, 0, 0, DibKind::Icon);
}

std::optional<DecodedImage> LoadGroupIcon(IconModule& module, const IconGroupName& name, uint32_t wantedSide,
                                          uint32_t wantedDepth)
{
    const auto icon = module.ReadGroup(name);
    if (!icon)
        return std::nullopt;
    for (size_t i : RankIconImages(*icon, wantedSide, wantedDepth))
        if (auto picture = DecodeIconImage(icon->images[i]))
            return picture;
    return std::nullopt;
}

} // namespace vistrel
