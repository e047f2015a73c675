#include "record/core/cursor_file.h"

#include "icons/core/byte_source.h"
#include "icons/core/icon_fit.h"
#include "icons/core/icon_resource.h"

#include <algorithm>
#include <tuple>
#include <vector>

namespace vistrel {

namespace {

// A file of many broken images is refused after the best few.
constexpr size_t kMaxDecodeAttempts = 4;

void SetError(std::string* error, const char* text)
{
    if (error)
        *error = text;
}

// Nearest side to 32 first; at equal distance the larger (finer drawing), then
// the deeper colours. Ties keep the file's order.
std::vector<size_t> CursorImageOrder(const IconResource& icon)
{
    auto key = [&](size_t i) {
        const IconImage& image = icon.images[i];
        const int64_t side = std::max(image.width, image.height);
        const int64_t distance = side > kCursorSide ? side - kCursorSide : kCursorSide - side;
        return std::tuple(distance, -side, -int64_t(image.colours));
    };
    std::vector<size_t> order;
    for (size_t i = 0; i < icon.images.size(); ++i) {
        const IconImage& image = icon.images[i];
        if (image.width <= uint32_t(kMaxCursorSide) && image.height <= uint32_t(kMaxCursorSide))
            order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return key(a) < key(b); });
    return order;
}

} // namespace

bool IsCursorFileName(std::string_view path)
{
    if (path.size() < 4)
        return false;
    std::string tail(path.substr(path.size() - 4));
    for (char& c : tail)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return tail == ".ICO" || tail == ".CUR";
}

std::optional<CursorImage> CursorFromFileBytes(std::span<const uint8_t> bytes, std::string* error)
{
    const auto contents = ParseIconOrCursorFile(bytes);
    if (!contents) {
        SetError(error, "The file is not a readable icon or cursor file.");
        return std::nullopt;
    }
    const std::vector<size_t> order = CursorImageOrder(contents->icon);
    for (size_t attempt = 0; attempt < order.size() && attempt < kMaxDecodeAttempts; ++attempt) {
        const size_t i = order[attempt];
        auto decoded = DecodeIconImage(contents->icon.images[i]);
        if (!decoded || decoded->bitmap.empty())
            continue;
        CursorImage cursor;
        cursor.image = std::move(decoded->bitmap);
        if (contents->isCursor) {
            // A hot spot outside the picture would draw the cursor away from the pointer.
            cursor.hotX = std::min<int>(contents->hotSpots[i].x, cursor.image.width - 1);
            cursor.hotY = std::min<int>(contents->hotSpots[i].y, cursor.image.height - 1);
        } else {
            cursor.hotX = cursor.image.width / 2;
            cursor.hotY = cursor.image.height / 2;
        }
        return cursor;
    }
    SetError(error, "None of the file's pictures can be read.");
    return std::nullopt;
}

std::optional<CursorImage> ReadCursorFile(const std::string& path, std::string* error)
{
    const auto file = OpenFileSource(path);
    if (!file) {
        SetError(error, "The file cannot be opened.");
        return std::nullopt;
    }
    if (file->Size() > kMaxIcoFileBytes) {
        SetError(error, "The file is too large for an icon or cursor file.");
        return std::nullopt;
    }
    const auto bytes = file->Read(0, file->Size());
    if (!bytes) {
        SetError(error, "The file cannot be read.");
        return std::nullopt;
    }
    return CursorFromFileBytes(*bytes, error);
}

} // namespace vistrel
