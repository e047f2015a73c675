#include "codec/image.h"

#include "codec/decode.h"
#include "codec/encode.h"
#include "codec/file_io.h"

#include <algorithm>
#include <cerrno>

namespace vistrel {

namespace {

constexpr uint64_t kMaxFileBytes = uint64_t(1) << 30;

// A 32-bit picture keeps its alpha only when the alpha says something: X
// servers fill the spare byte of a depth-24 pixel with 0 (or 0xFF), and an
// all-transparent capture would save as an invisible file.
bool AlphaWorthKeeping(const Bitmap& bitmap, int bitsPerPixel)
{
    if (bitsPerPixel != 32 || bitmap.pixels.empty())
        return false;
    const uint8_t first = AlphaOf(bitmap.pixels.front());
    const bool uniform = std::all_of(bitmap.pixels.begin(), bitmap.pixels.end(),
                                     [first](uint32_t p) { return AlphaOf(p) == first; });
    return !(uniform && (first == 0 || first == 0xFF));
}

} // namespace

CImage::CImage(const Bitmap& bitmap, int bitsPerPixel) : CImage(Bitmap(bitmap), bitsPerPixel) {}

CImage::CImage(Bitmap&& bitmap, int bitsPerPixel)
{
    if (bitmap.empty() || bitmap.pixels.size() != size_t(bitmap.width) * size_t(bitmap.height))
        return;
    m_bitmap = std::move(bitmap);
    m_bpp = bitsPerPixel;
    m_keepAlpha = AlphaWorthKeeping(m_bitmap, bitsPerPixel);
}

CImage::CImage(const char* path, cximage_type type)
{
    Load(path, type);
}

CImage CImage::Read(const char* path, cximage_type type, ImageReadError& error)
{
    CImage image;
    error = image.Load(path, type);
    return image;
}

ImageReadError CImage::Load(const char* path, cximage_type type)
{
    if (!path) {
        errno = EINVAL;
        return ImageReadError::CannotRead;
    }
    const auto bytes = ReadWholeFile(path, kMaxFileBytes);
    if (!bytes)
        return ImageReadError::CannotRead;
    auto decoded = DecodeImage(*bytes, type);
    if (!decoded)
        return ImageReadError::NotDecoded;
    m_bitmap = std::move(decoded->bitmap);
    m_bpp = decoded->bitsPerPixel;
    m_keepAlpha = decoded->hasAlpha;
    return ImageReadError::None;
}

int32_t CImage::Save(const char* path, cximage_type type) const
{
    if (!IsValid() || !path)
        return 0;
    return WriteThroughSink(path, [&](ByteSink& sink) { return EncodeImage(m_bitmap, m_keepAlpha, type, sink); })
               ? 1
               : 0;
}

int32_t CImage::SaveTo(int fd, cximage_type type) const
{
    if (!IsValid() || fd < 0)
        return 0;
    return WriteToFd(fd, [&](ByteSink& sink) { return EncodeImage(m_bitmap, m_keepAlpha, type, sink); }) ? 1 : 0;
}

std::unique_ptr<Bitmap> CImage::MakeBitmap() const
{
    if (!IsValid())
        return nullptr;
    return std::make_unique<Bitmap>(m_bitmap);
}

void CImage::Close()
{
    m_bitmap = Bitmap();
    m_bpp = 0;
    m_keepAlpha = false;
}

} // namespace vistrel
