#pragma once
// One icon in memory: a group of images of different sizes and depths, read from
// a module's resources or an .ico file and written as an .ico file.
//
// An image is kept exactly as stored. Most are a device-independent bitmap (info
// header, colour table, colour rows, mask rows), whose header gives the size and
// depth; newer 256-pixel images are PNG streams, whose IHDR chunk gives them.
// A PNG image's bytes are never changed.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vistrel {

struct IconImage {
    uint32_t width = 0;   // pixels
    uint32_t height = 0;  // pixels: half the bitmap header's height (it counts the mask rows too)
    uint32_t colours = 0; // bits per pixel: planes x bit count
    uint16_t planes = 0;
    uint16_t bitCount = 0;
    bool isPng = false;
    std::vector<uint8_t> data; // the whole image as stored

    uint32_t size() const { return uint32_t(data.size()); }

    // Where the colour rows and the mask rows start in data (bitmap images only);
    // nullopt when the data is too short to hold them.
    std::optional<size_t> ColourBitsOffset() const;
    std::optional<size_t> MaskBitsOffset() const;
};

// The image for these bytes, its fields taken from the bitmap header or the PNG
// header; nullopt when the bytes are neither.
std::optional<IconImage> MakeIconImage(std::vector<uint8_t> data);

struct IconResource {
    std::string icoFileName;    // the .ico file it was read from, or empty
    std::string moduleFileName; // the module it was read from, or empty
    std::vector<IconImage> images;
};

// The largest .ico file read.
constexpr uint64_t kMaxIcoFileBytes = uint64_t(64) << 20;

// The .ico layout: 6-byte header, a 16-byte entry per image, the images back to
// back in order. The image-size field of a bitmap header is 0 in the file.
// nullopt when the icon cannot be written in that layout (over 65535 images,
// over 4 GiB, an image whose bytes are not an image).
std::optional<std::vector<uint8_t>> IcoFileBytes(const IconResource& icon);

// The icon in the bytes of an .ico file; nullopt when they do not hold one whole
// (reserved not 0, type not 1, entries or images outside the data, images that
// overlap, an entry that is not an image).
std::optional<IconResource> ParseIcoFile(std::span<const uint8_t> bytes);

// A .cur file has the .ico layout with type 2, and its directory entries keep
// each image's hot spot where an icon's keep planes and bit count.
struct HotSpot {
    uint16_t x = 0, y = 0;
};
struct IconFileContents {
    bool isCursor = false;
    IconResource icon;
    std::vector<HotSpot> hotSpots; // one per image; all (0, 0) for an icon
};
// An .ico or .cur file's images, checked as ParseIcoFile checks them.
std::optional<IconFileContents> ParseIconOrCursorFile(std::span<const uint8_t> bytes);

std::optional<IconResource> ReadIconFromIcoFile(const std::string& path);

// Creates path; never replaces an existing file.
// Icons never replace a file already in the folder: a name that is taken is
// left alone and reported as such.
enum class IconWriteResult {
    Written, // the file did not exist and now holds all the bytes
    Exists,  // something of that name exists (a link too, even a dangling one); untouched
    Failed,  // nothing was left behind
};
IconWriteResult WriteIconToIcoFile(const IconResource& icon, const std::string& path);

// The folder search's writer, which loses no icon to a name: the icon is
// written under path or, where that is taken by another file, under the first
// free of its suffixed names (NAME_001.ico, ...). Nothing is written for an
// icon without images, or one that a candidate already holds byte for byte (a
// search run again finds its own copies). The path written; empty when none.
std::string WriteIconUnderFreeName(const IconResource& icon, const std::string& path);

// Size in bytes that the .ico directory gives a side: 0 stands for 256 (or more).
constexpr uint8_t IcoDirectorySide(uint32_t side) { return side >= 256 ? 0 : uint8_t(side); }

} // namespace vistrel
