#pragma once
// CImage: the codec's one class. Decodes BMP, JPEG, PNG, TIFF, GIF and ICO files
// and encodes all six image types. Every reader checks each offset and length
// against the data; an undecodable or truncated file gives an image that holds
// nothing, never a crash. Any thread may use its own CImage objects.

#include "codec/bitmap.h"
#include "codec/image_type.h"

#include <cstdint>
#include <memory>
#include <string>

namespace vistrel {

enum class ImageReadError {
    None,
    CannotRead, // no such file, no permission, not a regular file: errno says which
    NotDecoded, // read, but damaged, too large or not of the type given
};

class CImage {
public:
    CImage() = default;
    // From pixels; bitsPerPixel is the depth the pixels came from (24 or 32 for
    // a screen; a 32-bit image keeps its alpha where the file type can).
    CImage(const Bitmap& bitmap, int bitsPerPixel);
    CImage(Bitmap&& bitmap, int bitsPerPixel);
    // Decodes a file; the type says which decoder. Test IsValid() afterwards.
    CImage(const char* path, cximage_type type);
    // The same, saying why the image holds nothing.
    static CImage Read(const char* path, cximage_type type, ImageReadError& error);
    CImage(const CImage& other) = default;
    CImage& operator=(const CImage& other) = default;
    virtual ~CImage() = default;

    // Encodes to path (a temporary file beside it, then renamed over it, so an
    // old file survives a failed write). Nonzero on success.
    int32_t Save(const char* path, cximage_type type) const;
    // Encodes into an open file (a new capture that is named once complete).
    // Nonzero when every byte was written.
    int32_t SaveTo(int fd, cximage_type type) const;
    // A new copy of the pixels; null when the image holds nothing.
    std::unique_ptr<Bitmap> MakeBitmap() const;
    virtual void Close();

    bool IsValid() const { return !m_bitmap.empty(); }
    int GetWidth() const { return m_bitmap.width; }
    int GetHeight() const { return m_bitmap.height; }
    int GetBpp() const { return m_bpp; }
    const Bitmap& bitmap() const { return m_bitmap; }
    // True when Save writes the alpha channel (where the file type has one).
    bool KeepsAlpha() const { return m_keepAlpha; }

private:
    ImageReadError Load(const char* path, cximage_type type);

    Bitmap m_bitmap;
    int m_bpp = 0;
    bool m_keepAlpha = false;
};

} // namespace vistrel
