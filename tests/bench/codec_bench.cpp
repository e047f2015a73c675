// Times the image encoders on a real picture (a PNG, BMP, JPEG or TIFF file).
//   codec_bench PICTURE [TYPE] [runs] [level] [busy strategy] [busy percent] [bands]
// encodes in memory: TYPE is bmp, png (default), jpg, tif, gif or ico; the zlib
// settings apply to PNG only. Prints the median encode time, the file size and
// the peak memory of the process.
//   codec_bench PICTURE save OUTPUT
// saves once, as a capture would (24-bit, type from OUTPUT's extension), for
// timing the whole process from outside.
#include "codec/decode.h"
#include "codec/encode.h"
#include "codec/file_io.h"
#include "codec/image.h"
#include "codec/png_encoder.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>
#include <vector>

using namespace vistrel;

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PICTURE.png [bmp|png|jpg|tif|gif|ico] [runs] [level] [busy strategy] [busy percent] [bands]\n", argv[0]);
        return 2;
    }
    const int inputType = ImageTypeFromFileName(argv[1]);
    const auto bytes = ReadWholeFile(argv[1], uint64_t(1) << 30);
    auto decoded = bytes && inputType >= 0 ? DecodeImage(*bytes, cximage_type(inputType)) : std::nullopt;
    if (!decoded) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    if (argc > 3 && std::strcmp(argv[2], "save") == 0) {
        const int outputType = ImageTypeFromFileName(argv[3]);
        const auto start = std::chrono::steady_clock::now();
        const CImage image(std::move(decoded->bitmap), 24);
        const bool saved = outputType >= 0 && image.Save(argv[3], cximage_type(outputType)) != 0;
        std::printf("save: %.1f ms\n", std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        return saved ? 0 : 1;
    }
    const char* names[] = {"bmp", "gif", "jpg", "png", "ico", "tif"};
    int type = IMAGE_TYPE_PNG;
    if (argc > 2)
        for (int t = 0; t < 6; ++t)
            if (std::strcmp(argv[2], names[t]) == 0)
                type = t;
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 9;
    PngEncodeOptions options;
    if (argc > 4) options.flatLevel = std::atoi(argv[4]);
    if (argc > 5) options.busyStrategy = std::atoi(argv[5]);
    if (argc > 6) options.busyPercent = std::atoi(argv[6]);
    if (argc > 7) options.parts = std::atoi(argv[7]);

    std::vector<double> ms;
    size_t size = 0;
    for (int i = 0; i < runs; ++i) {
        VectorSink sink;
        const auto start = std::chrono::steady_clock::now();
        const bool ok = type == IMAGE_TYPE_PNG
                            ? EncodePngWith(decoded->bitmap, false, options, sink)
                            : EncodeImage(decoded->bitmap, false, cximage_type(type), sink);
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        if (!ok) {
            std::fprintf(stderr, "encoding failed\n");
            return 1;
        }
        size = sink.bytes().size();
        if (i == 0)
            WriteThroughSink(std::string("/tmp/codec_bench.") + names[type],
                        [&](ByteSink& out) { return out.Write(sink.bytes().data(), sink.bytes().size()); });
    }
    std::sort(ms.begin(), ms.end());
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%s %dx%d: median %.1f ms (min %.1f), %zu bytes, peak %ld KB\n", names[type],
                decoded->bitmap.width, decoded->bitmap.height, ms[ms.size() / 2], ms.front(), size,
                usage.ru_maxrss);
    return 0;
}
