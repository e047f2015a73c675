// Feeds the bytes to the module reader (every group), to the .ico reader and
// to the reader of cursors from .cur and .ico files.
// Whatever is read must write out as an .ico file that reads back the same, so
// the fuzzer also checks the writer and the readers against each other.
#include "icons/core/icon_fit.h"
#include "icons/core/icon_module.h"
#include "icons/core/icon_resource.h"
#include "record/core/cursor_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

namespace {

using namespace vistrel;

bool SameImage(const IconImage& a, const IconImage& b)
{
    if (a.width != b.width || a.height != b.height || a.colours != b.colours || a.isPng != b.isPng ||
        a.data.size() != b.data.size())
        return false;
    for (size_t i = 0; i < a.data.size(); ++i)
        if (a.data[i] != b.data[i] && (a.isPng || i < 20 || i >= 24)) // the image-size field is 0 in files
            return false;
    return true;
}

void RoundTrip(const IconResource& icon)
{
    const auto bytes = IcoFileBytes(icon);
    if (!bytes)
        std::abort();
    const auto back = ParseIcoFile(*bytes);
    if (!back || back->images.size() != icon.images.size())
        std::abort();
    for (size_t i = 0; i < icon.images.size(); ++i)
        if (!SameImage(icon.images[i], back->images[i]))
            std::abort();
    // The picture a list would show, when it is small enough to be quick.
    const auto ranked = RankIconImages(icon, 32, 32);
    if (!ranked.empty() && uint64_t(icon.images[ranked[0]].width) * icon.images[ranked[0]].height <= 64 * 64)
        DecodeIconImage(icon.images[ranked[0]]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> bytes(data, size);
    if (auto module = IconModule::FromBytes(bytes)) {
        for (const auto& name : module->Groups())
            if (const auto icon = module->ReadGroup(name))
                RoundTrip(*icon);
    }
    if (const auto icon = ParseIcoFile(bytes))
        RoundTrip(*icon);
    // A cursor is one image at most 256 pixels a side, with its hot spot inside it.
    if (const auto cursor = CursorFromFileBytes(bytes)) {
        const Bitmap& image = cursor->image;
        if (!image.holdsAllPixels() || image.width > kMaxCursorSide || image.height > kMaxCursorSide ||
            cursor->hotX < 0 || cursor->hotY < 0 || cursor->hotX >= image.width || cursor->hotY >= image.height)
            std::abort();
    }
    return 0;
}
