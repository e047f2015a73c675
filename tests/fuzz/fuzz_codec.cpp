// Feeds the bytes to every image decoder (each refuses foreign signatures at
// once), and writes whatever decodes back out in every type, so that the
// encoders also meet odd sizes and alpha.
#include "codec/decode.h"
#include "codec/encode.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace vistrel;
    const std::span<const uint8_t> bytes(data, size);
    for (int type = IMAGE_TYPE_BMP; type <= IMAGE_TYPE_TIF; ++type) {
        const auto image = DecodeImage(bytes, cximage_type(type));
        if (!image || image->bitmap.pixels.size() > 64 * 64)
            continue;
        for (int out = IMAGE_TYPE_BMP; out <= IMAGE_TYPE_TIF; ++out) {
            VectorSink sink;
            if (EncodeImage(image->bitmap, image->hasAlpha, cximage_type(out), sink))
                DecodeImage(sink.bytes(), cximage_type(out));
        }
    }
    return 0;
}
