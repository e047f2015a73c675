#include "library/core/thumbnail_maker.h"

#include "base/canonical_path.h"
#include "codec/decode.h"
#include "codec/file_io.h"
#include "codec/image_type.h"
#include "library/core/icon_file_picture.h"

#include <sys/stat.h>

namespace vistrel {

namespace {

// The largest picture file decoded for a thumbnail.
constexpr uint64_t kMaxPictureFileBytes = uint64_t(512) << 20;
// The icon size whose image an icon file's thumbnail shows.
constexpr uint32_t kIconSide = 32;

} // namespace

std::optional<CachedThumbnail> PictureThumbnailMaker::SmallPicture(const std::string& path, int imageType)
{
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    const std::string absolute = m_cache ? CanonicalPath(path) : std::string();
    if (m_cache)
        if (auto cached = m_cache->Lookup(absolute, st.st_mtim.tv_sec))
            return cached;
    const auto bytes = ReadWholeFile(path.c_str(), kMaxPictureFileBytes);
    if (!bytes)
        return std::nullopt;
    auto decoded = DecodeImageToCover(*bytes, cximage_type(imageType), kCachedThumbnailSide, kCachedThumbnailSide);
    if (!decoded)
        return std::nullopt;
    CachedThumbnail small{ShrinkToSide(decoded->bitmap, kCachedThumbnailSide), decoded->fileWidth,
                          decoded->fileHeight};
    if (m_cache)
        m_cache->Store(absolute, st.st_mtim.tv_sec, uint64_t(st.st_size), small.picture, small.sourceWidth,
                       small.sourceHeight);
    return small;
}

std::optional<Bitmap> PictureThumbnailMaker::Make(const std::string& path)
{
    struct stat st {};
    if (stat(path.c_str(), &st) != 0)
        return std::nullopt;
    Bitmap frame = MakeThumbnailFrame(m_colours.buttonFace, m_colours.buttonShadow);
    const int imageType = ImageTypeFromFileName(path);
    if (imageType < 0)
        return frame;
    const auto small = SmallPicture(path, imageType);
    if (!small)
        return std::nullopt;
    DrawScaled(frame, small->picture, FitIntoArea(small->sourceWidth, small->sourceHeight, kThumbnailContent));
    return frame;
}

std::optional<Bitmap> IconThumbnailMaker::Make(const std::string& path)
{
    const auto picture = IconFilePicture(path, kIconSide);
    if (!picture)
        return std::nullopt;
    Bitmap frame = MakeThumbnailFrame(m_colours.buttonHighlight, m_colours.buttonShadow);
    const PlacedRect at = FitIntoArea(picture->width, picture->height, kThumbnailContent);
    if (at.width == picture->width && at.height == picture->height)
        DrawBlended(frame, *picture, at.x, at.y);
    else
        DrawScaled(frame, *picture, at); // larger than the frame: fitted
    return frame;
}

} // namespace vistrel
