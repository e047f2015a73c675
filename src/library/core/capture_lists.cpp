#include "library/core/capture_lists.h"

namespace vistrel {

CaptureLists g_captureLists;

std::vector<std::string>& CaptureLists::ofKind(FolderKind kind)
{
    switch (kind) {
    case FOLDER_ICONS: return icons;
    case FOLDER_AVI: return avis;
    default: return bitmaps;
    }
}

const std::vector<std::string>& CaptureLists::ofKind(FolderKind kind) const
{
    return const_cast<CaptureLists*>(this)->ofKind(kind);
}

void CaptureLists::clear()
{
    icons.clear();
    bitmaps.clear();
    avis.clear();
}

} // namespace vistrel
