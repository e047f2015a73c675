#include "icons/core/icon_resource.h"

#include "base/canonical_path.h"
#include "base/fd_io.h"
#include "base/new_file.h"
#include "codec/byte_view.h"
#include "codec/dib.h"
#include "icons/core/byte_source.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <optional>
#include <utility>

namespace vistrel {

namespace {

constexpr size_t kIcoHeaderSize = 6;
constexpr size_t kIcoEntrySize = 16;
constexpr size_t kInfoHeaderSize = 40;
constexpr size_t kImageSizeField = 20; // biSizeImage in the info header
constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

uint32_t BigEndian32(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

bool FillFromPng(IconImage& image)
{
    // Signature, then the IHDR chunk: length 13, "IHDR", width, height, bit depth, colour type.
    const std::vector<uint8_t>& d = image.data;
    if (d.size() < 8 + 8 + 13 || !std::equal(kPngSignature, kPngSignature + 8, d.begin()) ||
        BigEndian32(&d[8]) != 13 || std::memcmp(&d[12], "IHDR", 4) != 0)
        return false;
    int channels = 0;
    switch (d[25]) {
    case 0: channels = 1; break; // grey
    case 2: channels = 3; break; // RGB
    case 3: channels = 1; break; // palette
    case 4: channels = 2; break; // grey and alpha
    case 6: channels = 4; break; // RGBA
    default: return false;
    }
    image.isPng = true;
    image.width = BigEndian32(&d[16]);
    image.height = BigEndian32(&d[20]);
    image.planes = 1;
    image.bitCount = uint16_t(d[24] * channels);
    image.colours = image.bitCount;
    return image.width != 0 && image.height != 0;
}

bool FillFromBitmapHeader(IconImage& image)
{
    const ByteView in(image.data);
    // The image-size field is rewritten on saving, so the header must hold it.
    if (!in.Has(0, kInfoHeaderSize) || in.U32(0) < kInfoHeaderSize || !in.Has(0, in.U32(0)))
        return false;
    const int64_t width = in.S32(4), height = in.S32(8);
    image.width = uint32_t(std::max<int64_t>(width, 0));
    image.height = uint32_t((height < 0 ? -height : height) / 2);
    image.planes = in.U16(12);
    image.bitCount = in.U16(14);
    image.colours = uint32_t(image.planes) * image.bitCount;
    return true;
}

uint8_t DirectoryColourCount(const IconImage& image)
{
    return image.colours < 8 ? uint8_t(1u << image.colours) : 0;
}

// The image as the .ico file stores it.
bool ImageBytesForFile(const IconImage& image, std::vector<uint8_t>& out)
{
    const size_t at = out.size();
    out.insert(out.end(), image.data.begin(), image.data.end());
    if (image.isPng)
        return true;
    if (image.data.size() < kInfoHeaderSize)
        return false;
    std::fill_n(out.begin() + ptrdiff_t(at + kImageSizeField), 4, uint8_t(0));
    return true;
}

void Put16(std::vector<uint8_t>& v, uint32_t x) { v.insert(v.end(), {uint8_t(x), uint8_t(x >> 8)}); }
void Put32(std::vector<uint8_t>& v, uint32_t x)
{
    v.insert(v.end(), {uint8_t(x), uint8_t(x >> 8), uint8_t(x >> 16), uint8_t(x >> 24)});
}

} // namespace

std::optional<size_t> IconImage::ColourBitsOffset() const
{
    if (isPng)
        return std::nullopt;
    const ByteView in(data);
    if (!in.Has(0, kInfoHeaderSize))
        return std::nullopt;
    uint64_t colourCount = in.U32(32);
    if (colourCount == 0)
        colourCount = bitCount == 1 ? 2 : bitCount == 4 ? 16 : bitCount == 8 ? 256 : 0;
    const uint64_t offset = uint64_t(in.U32(0)) + 4 * colourCount;
    if (!in.Has(offset, 0))
        return std::nullopt;
    return size_t(offset);
}

std::optional<size_t> IconImage::MaskBitsOffset() const
{
    const auto colourBits = ColourBitsOffset();
    if (!colourBits)
        return std::nullopt;
    const uint64_t offset = *colourBits + uint64_t(height) * DibStride(width, colours);
    if (!ByteView(data).Has(offset, 0))
        return std::nullopt;
    return size_t(offset);
}

std::optional<IconImage> MakeIconImage(std::vector<uint8_t> data)
{
    IconImage image;
    image.data = std::move(data);
    if (FillFromPng(image) || FillFromBitmapHeader(image))
        return image;
    return std::nullopt;
}

std::optional<std::vector<uint8_t>> IcoFileBytes(const IconResource& icon)
{
    const size_t count = icon.images.size();
    if (count > 0xFFFF)
        return std::nullopt;
    const uint64_t directoryBytes = kIcoHeaderSize + kIcoEntrySize * count;
    const uint64_t total = std::accumulate(icon.images.begin(), icon.images.end(), directoryBytes,
                                           [](uint64_t sum, const IconImage& i) { return sum + i.data.size(); });
    if (total > 0xFFFFFFFFu)
        return std::nullopt;

    std::vector<uint8_t> out;
    out.reserve(size_t(total));
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, uint32_t(count));
    uint64_t offset = directoryBytes;
    for (const IconImage& image : icon.images) {
        out.insert(out.end(), {IcoDirectorySide(image.width), IcoDirectorySide(image.height),
                               DirectoryColourCount(image), 0});
        Put16(out, image.planes);
        Put16(out, image.bitCount);
        Put32(out, image.size());
        Put32(out, uint32_t(offset));
        offset += image.data.size();
    }
    for (const IconImage& image : icon.images)
        if (!ImageBytesForFile(image, out))
            return std::nullopt;
    return out;
}

std::optional<IconFileContents> ParseIconOrCursorFile(std::span<const uint8_t> bytes)
{
    constexpr uint16_t kTypeIcon = 1, kTypeCursor = 2;
    const ByteView in(bytes);
    if (!in.Has(0, kIcoHeaderSize) || in.U16(0) != 0 || (in.U16(2) != kTypeIcon && in.U16(2) != kTypeCursor))
        return std::nullopt;
    const bool isCursor = in.U16(2) == kTypeCursor;
    const size_t count = in.U16(4);
    if (!in.Has(kIcoHeaderSize, kIcoEntrySize * count))
        return std::nullopt;

    // Every image must lie in the file, apart from the others: then all the
    // copies together are no larger than the file.
    struct Span {
        uint32_t offset, size;
    };
    std::vector<Span> spans(count);
    IconFileContents contents;
    contents.isCursor = isCursor;
    contents.hotSpots.resize(count);
    for (size_t i = 0; i < count; ++i) {
        const size_t at = kIcoHeaderSize + i * kIcoEntrySize;
        spans[i] = {in.U32(at + 12), in.U32(at + 8)};
        if (!in.Has(spans[i].offset, spans[i].size))
            return std::nullopt;
        if (isCursor)
            contents.hotSpots[i] = {in.U16(at + 4), in.U16(at + 6)};
    }
    std::vector<Span> sorted = spans;
    std::sort(sorted.begin(), sorted.end(), [](Span a, Span b) { return a.offset < b.offset; });
    for (size_t i = 1; i < sorted.size(); ++i)
        if (uint64_t(sorted[i - 1].offset) + sorted[i - 1].size > sorted[i].offset)
            return std::nullopt;

    contents.icon.images.reserve(count);
    for (const Span& s : spans) {
        const auto data = in.Sub(s.offset, s.size);
        auto image = MakeIconImage(std::vector<uint8_t>(data.begin(), data.end()));
        if (!image)
            return std::nullopt;
        contents.icon.images.push_back(std::move(*image));
    }
    return contents;
}

std::optional<IconResource> ParseIcoFile(std::span<const uint8_t> bytes)
{
    auto contents = ParseIconOrCursorFile(bytes);
    if (!contents || contents->isCursor)
        return std::nullopt;
    return std::move(contents->icon);
}

std::optional<IconResource> ReadIconFromIcoFile(const std::string& path)
{
    const auto file = OpenFileSource(path);
    if (!file || file->Size() > kMaxIcoFileBytes)
        return std::nullopt;
    const auto bytes = file->Read(0, file->Size());
    if (!bytes)
        return std::nullopt;
    auto icon = ParseIcoFile(*bytes);
    if (icon)
        icon->icoFileName = path;
    return icon;
}

namespace {

// Whether the file at path holds exactly bytes.
bool HoldsBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    const auto file = OpenFileSource(path);
    if (!file || file->Size() != bytes.size())
        return false;
    const auto held = file->Read(0, file->Size());
    return held && *held == bytes;
}

} // namespace

IconWriteResult WriteIconToIcoFile(const IconResource& icon, const std::string& path)
{
    const auto bytes = IcoFileBytes(icon);
    if (!bytes)
        return IconWriteResult::Failed;
    bool offered = false;
    const NewFileResult result = WriteNewFile(
        ParentFolder(path), [&]() -> std::optional<std::string> { return std::exchange(offered, true) ? std::nullopt : std::optional(path); },
        [&](int fd) { return WriteAllToFd(fd, *bytes); });
    if (!result.path.empty())
        return IconWriteResult::Written;
    return result.nameTaken ? IconWriteResult::Exists : IconWriteResult::Failed;
}

std::string WriteIconUnderFreeName(const IconResource& icon, const std::string& path)
{
    const auto bytes = icon.images.empty() ? std::nullopt : IcoFileBytes(icon);
    if (!bytes)
        return {};
    // NAME.ico gives NAME_001.ico; a name without a dot (or a leading one only) is all stem.
    const size_t nameStart = path.rfind('/') + 1; // npos + 1 == 0
    const size_t dot = path.rfind('.');
    const size_t cut = dot != std::string::npos && dot > nameStart ? dot : path.size();
    const NameSource candidates = SuffixedNames(path.substr(0, cut), path.substr(cut));
    const NameSource unlessThere = [&]() -> std::optional<std::string> {
        auto candidate = candidates();
        if (candidate && HoldsBytes(*candidate, *bytes))
            return std::nullopt;
        return candidate;
    };
    return WriteNewFile(ParentFolder(path), unlessThere, [&](int fd) { return WriteAllToFd(fd, *bytes); }).path;
}

} // namespace vistrel
