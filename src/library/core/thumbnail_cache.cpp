// The cache's PNG files carry their key in tEXt chunks, which the codec's PNG
// writer does not write: they are put in after the header chunk here, and read
// back by walking the chunks before the picture is decoded.
#include "library/core/thumbnail_cache.h"

#include "base/atomic_file.h"
#include "base/path_names.h"
#include "codec/byte_sink.h"
#include "codec/decode.h"
#include "codec/encode.h"
#include "codec/file_io.h"
#include "library/core/md5.h"

#include <zlib.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sys/stat.h>
#include <vector>

namespace vistrel {

namespace {

constexpr uint64_t kMaxEntryBytes = 4u << 20;
constexpr size_t kPngSignatureSize = 8;
constexpr size_t kIhdrChunkSize = 8 + 13 + 4;

void PutBigEndian(std::vector<uint8_t>& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(uint8_t(v >> shift));
}

uint32_t BigEndianAt(const std::vector<uint8_t>& bytes, size_t at)
{
    return uint32_t(bytes[at]) << 24 | uint32_t(bytes[at + 1]) << 16 | uint32_t(bytes[at + 2]) << 8 | bytes[at + 3];
}

std::vector<uint8_t> TextChunk(const std::string& key, const std::string& value)
{
    std::vector<uint8_t> chunk;
    const std::string body = "tEXt" + key + '\0' + value;
    PutBigEndian(chunk, uint32_t(body.size() - 4));
    chunk.insert(chunk.end(), body.begin(), body.end());
    PutBigEndian(chunk, uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()))));
    return chunk;
}

// The tEXt chunks before the picture data; empty for anything that is not a PNG.
std::map<std::string, std::string> ReadTextChunks(const std::vector<uint8_t>& png)
{
    std::map<std::string, std::string> texts;
    size_t at = kPngSignatureSize;
    while (at + 12 <= png.size()) {
        const uint32_t length = BigEndianAt(png, at);
        if (length > png.size() - at - 12)
            break;
        const std::string type(png.begin() + long(at + 4), png.begin() + long(at + 8));
        if (type == "IDAT" || type == "IEND")
            break;
        if (type == "tEXt") {
            const std::string body(png.begin() + long(at + 8), png.begin() + long(at + 8 + length));
            const size_t zero = body.find('\0');
            if (zero != std::string::npos)
                texts[body.substr(0, zero)] = body.substr(zero + 1);
        }
        at += 12 + length;
    }
    return texts;
}

int NumberOr(const std::map<std::string, std::string>& texts, const std::string& key, int fallback)
{
    const auto found = texts.find(key);
    if (found == texts.end())
        return fallback;
    char* end = nullptr;
    const long value = std::strtol(found->second.c_str(), &end, 10);
    return (*end == '\0' && value > 0 && value <= (1 << 20)) ? int(value) : fallback;
}

// Each missing level below an existing parent, private as the layout asks.
bool MakePrivateFolders(const std::string& folder)
{
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string level = folder.substr(0, slash);
        if (mkdir(level.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            return true;
    }
}

} // namespace

std::string ThumbnailCache::DefaultFolder()
{
    const char* xdg = std::getenv("XDG_CACHE_HOME");
    std::string base;
    if (xdg && xdg[0] == '/') {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && home[0] == '/') {
        base = std::string(home) + "/.cache";
    } else {
        return {};
    }
    return base + "/thumbnails/normal";
}

std::string ThumbnailCache::EntryPath(std::string_view absolutePath) const
{
    return m_folder + "/" + Md5Hex(FileUri(absolutePath)) + ".png";
}

std::optional<CachedThumbnail> ThumbnailCache::Lookup(const std::string& absolutePath, int64_t mtimeSeconds) const
{
    if (m_folder.empty())
        return std::nullopt;
    const auto bytes = ReadWholeFile(EntryPath(absolutePath).c_str(), kMaxEntryBytes);
    if (!bytes)
        return std::nullopt;
    const auto texts = ReadTextChunks(*bytes);
    const auto uri = texts.find("Thumb::URI");
    const auto mtime = texts.find("Thumb::MTime");
    if (uri == texts.end() || uri->second != FileUri(absolutePath) || mtime == texts.end() ||
        mtime->second != std::to_string(mtimeSeconds))
        return std::nullopt;
    auto decoded = DecodeImage(*bytes, IMAGE_TYPE_PNG);
    if (!decoded)
        return std::nullopt;
    CachedThumbnail entry;
    entry.sourceWidth = NumberOr(texts, "Thumb::Image::Width", decoded->bitmap.width);
    entry.sourceHeight = NumberOr(texts, "Thumb::Image::Height", decoded->bitmap.height);
    entry.picture = std::move(decoded->bitmap);
    return entry;
}

bool ThumbnailCache::Store(const std::string& absolutePath, int64_t mtimeSeconds, uint64_t fileSize,
                           const Bitmap& picture, int sourceWidth, int sourceHeight) const
{
    if (m_folder.empty() || picture.width > kCachedThumbnailSide || picture.height > kCachedThumbnailSide)
        return false;
    VectorSink sink;
    if (!EncodeImage(picture, false, IMAGE_TYPE_PNG, sink))
        return false;
    const std::vector<uint8_t>& png = sink.bytes();
    if (png.size() < kPngSignatureSize + kIhdrChunkSize)
        return false;
    std::vector<uint8_t> entry(png.begin(), png.begin() + long(kPngSignatureSize + kIhdrChunkSize));
    const std::pair<std::string, std::string> texts[] = {
        {"Thumb::URI", FileUri(absolutePath)},
        {"Thumb::MTime", std::to_string(mtimeSeconds)},
        {"Thumb::Size", std::to_string(fileSize)},
        {"Thumb::Image::Width", std::to_string(sourceWidth)},
        {"Thumb::Image::Height", std::to_string(sourceHeight)},
        {"Software", "Vistrel"},
    };
    for (const auto& [key, value] : texts) {
        const auto chunk = TextChunk(key, value);
        entry.insert(entry.end(), chunk.begin(), chunk.end());
    }
    entry.insert(entry.end(), png.begin() + long(kPngSignatureSize + kIhdrChunkSize), png.end());
    if (!MakePrivateFolders(m_folder))
        return false;
    const std::string path = EntryPath(absolutePath);
    if (!WriteFileAtomically(path, entry))
        return false;
    chmod(path.c_str(), 0600);
    return true;
}

} // namespace vistrel
