#pragma once
// Which image of an icon to show: the one that best fits the display's icon
// size and colour depth, as a list shows one picture per icon.

#include "codec/decode.h"
#include "icons/core/icon_module.h"
#include "icons/core/icon_resource.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace vistrel {

// The images' indexes, best fit first. Size comes before depth: the wanted size
// exactly, then the nearest larger (it scales down cleanly), then the nearest
// smaller. Among equal sizes: the deepest not deeper than wanted, else the
// shallowest deeper one. Ties keep the group's order.
std::vector<size_t> RankIconImages(const IconResource& icon, uint32_t wantedSide, uint32_t wantedDepth);

// The pixels of one image (bitmap with its mask, or PNG); nullopt when broken.
std::optional<DecodedImage> DecodeIconImage(const IconImage& image);

// The best-fitting image of a group that decodes, ready to show; nullopt when
// the group cannot be read or none of its images decodes.
std::optional<DecodedImage> LoadGroupIcon(IconModule& module, const IconGroupName& name, uint32_t wantedSide,
                                          uint32_t wantedDepth);

} // namespace vistrel
