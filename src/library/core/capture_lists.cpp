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

void CaptureLists::clear()
{
    icons.clear();
    bitmaps.clear();
    avis.clear();
}

} // namespace vistrel
