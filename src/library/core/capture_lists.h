#pragma once
// The paths of the files captured or found in this run, one list per folder kind.
// They start empty, live for the whole run and are never saved: the library
// shows these lists and never scans the save folders.

#include <string>
#include <vector>

namespace vistrel {

enum FolderKind : int { FOLDER_ICONS = 0, FOLDER_BITMAPS = 1, FOLDER_AVI = 2 };

struct CaptureLists {
    std::vector<std::string> icons;
    std::vector<std::string> bitmaps;
    std::vector<std::string> avis;

    std::vector<std::string>& ofKind(FolderKind kind);
    const std::vector<std::string>& ofKind(FolderKind kind) const;
    void clear();
};

extern CaptureLists g_captureLists;

} // namespace vistrel
