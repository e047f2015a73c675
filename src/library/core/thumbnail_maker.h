#pragma once
// The real thumbnail makers: the picture files' (framed, fitted and centred,
// through the shared thumbnail cache) and the icon files' (the icon drawn at
// its own size). The AVI files share one picture, which the window side draws.
//
// Any thread; an object is used by one thread at a time (the builder's worker).
// A file that is missing, unreadable or undecodable gives nullopt.

#include "library/core/thumbnail_cache.h"
#include "library/core/thumbnail_picture.h"
#include "library/core/thumbnail_task.h"

#include <optional>
#include <string>

namespace vistrel {

class PictureThumbnailMaker final : public ThumbnailMaker {
public:
    // cache: nullptr for none; must outlive the maker.
    PictureThumbnailMaker(const ThumbnailColours& colours, const ThumbnailCache* cache)
        : m_colours(colours), m_cache(cache) {}
    // A file that is no picture (by its name) gets the empty frame.
    std::optional<Bitmap> Make(const std::string& path) override;

private:
    // The picture at most kCachedThumbnailSide a side, from the cache or the file.
    std::optional<CachedThumbnail> SmallPicture(const std::string& path, int imageType);

    ThumbnailColours m_colours;
    const ThumbnailCache* m_cache;
};

class IconThumbnailMaker final : public ThumbnailMaker {
public:
    explicit IconThumbnailMaker(const ThumbnailColours& colours) : m_colours(colours) {}
    std::optional<Bitmap> Make(const std::string& path) override;

private:
    ThumbnailColours m_colours;
};

} // namespace vistrel
