#pragma once
// The desktop's shared thumbnail cache (the freedesktop.org layout), so that a
// folder seen once is not decoded again, by this program or by a file manager:
// $XDG_CACHE_HOME/thumbnails/normal/<md5 of the file's URI>.png, at most 128
// pixels a side, with the URI and the file's modification time in PNG text
// chunks. An entry counts only while the file's modification time matches.
// Entries are written to a temporary file and renamed into place, so readers
// never see half a thumbnail; folders are made private (0700), files 0600.
//
// Any thread: the object holds only its folder, and every call stands alone.
// A cache that cannot be read or written is no error: Lookup misses, Store
// reports false and nothing else changes.

#include "codec/bitmap.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vistrel {

inline constexpr int kCachedThumbnailSide = 128;

struct CachedThumbnail {
    Bitmap picture;
    // The original's size, when the entry says it; else the picture's.
    int sourceWidth = 0;
    int sourceHeight = 0;
};

class ThumbnailCache {
public:
    // folder: the "normal" folder itself.
    explicit ThumbnailCache(std::string folder) : m_folder(std::move(folder)) {}
    // $XDG_CACHE_HOME/thumbnails/normal, with ~/.cache for an unset or
    // relative XDG_CACHE_HOME; empty when neither can be found.
    static std::string DefaultFolder();

    const std::string& folder() const { return m_folder; }
    std::string EntryPath(std::string_view absolutePath) const;

    // The entry for the file as it was at mtimeSeconds; nullopt when there is
    // none, it is for another URI or time, or it cannot be decoded.
    std::optional<CachedThumbnail> Lookup(const std::string& absolutePath, int64_t mtimeSeconds) const;
    // picture must already be no larger than kCachedThumbnailSide a side.
    bool Store(const std::string& absolutePath, int64_t mtimeSeconds, uint64_t fileSize, const Bitmap& picture,
               int sourceWidth, int sourceHeight) const;

private:
    std::string m_folder;
};

} // namespace vistrel
