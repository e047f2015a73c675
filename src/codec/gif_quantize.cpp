#include "codec/gif_quantize.h"

#include <algorithm>
#include <array>
#include <unordered_map>

namespace vistrel {

namespace {

constexpr int kBits = 6;
constexpr int kLevels = 1 << kBits;
constexpr uint32_t kTransparentKey = 0xFFFFFFFFu; // never an opaque RGB value

uint32_t BinOf(uint32_t rgb)
{
    return ((RedOf(rgb) >> (8 - kBits)) << (2 * kBits)) | ((GreenOf(rgb) >> (8 - kBits)) << kBits) |
           (BlueOf(rgb) >> (8 - kBits));
}

struct BinStats {
    uint64_t count = 0;
    std::array<uint64_t, 3> sum{};
};

struct Box {
    size_t begin = 0, end = 0; // range in the list of occupied bins
    uint64_t count = 0;
    int longestAxis = 0;
    int range = 0;
};

std::array<int, 3> BinChannels(uint32_t bin)
{
    return {int(bin >> (2 * kBits)), int((bin >> kBits) & (kLevels - 1)), int(bin & (kLevels - 1))};
}

void Measure(Box& box, const std::vector<uint32_t>& bins, const std::vector<BinStats>& stats)
{
    std::array<int, 3> lo{kLevels, kLevels, kLevels}, hi{-1, -1, -1};
    box.count = 0;
    for (size_t i = box.begin; i < box.end; ++i) {
        const auto c = BinChannels(bins[i]);
        for (size_t k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], c[k]);
            hi[k] = std::max(hi[k], c[k]);
        }
        box.count += stats[bins[i]].count;
    }
    box.range = -1;
    for (int k = 0; k < 3; ++k)
        if (hi[size_t(k)] - lo[size_t(k)] > box.range) {
            box.range = hi[size_t(k)] - lo[size_t(k)];
            box.longestAxis = k;
        }
}

std::vector<uint32_t> MedianCut(std::vector<uint32_t> bins, const std::vector<BinStats>& stats, int colors)
{
    std::vector<Box> boxes(1);
    boxes[0].end = bins.size();
    Measure(boxes[0], bins, stats);
    while (int(boxes.size()) < colors) {
        // Split by population first, then by population times extent, so that
        // large smooth areas and rare but distinct colours both get entries.
        const bool byPopulation = boxes.size() < size_t(colors) * 3 / 4;
        auto worth = [&](const Box& b) {
            return b.end - b.begin < 2 ? 0 : byPopulation ? b.count : b.count * uint64_t(b.range + 1);
        };
        auto it = std::max_element(boxes.begin(), boxes.end(),
                                   [&](const Box& a, const Box& b) { return worth(a) < worth(b); });
        if (worth(*it) == 0)
            break;
        Box box = *it;
        const size_t axis = size_t(box.longestAxis);
        std::sort(bins.begin() + long(box.begin), bins.begin() + long(box.end),
                  [&](uint32_t a, uint32_t b) { return BinChannels(a)[axis] < BinChannels(b)[axis]; });
        uint64_t seen = 0;
        size_t cut = box.begin + 1;
        for (size_t i = box.begin; i + 1 < box.end; ++i) {
            seen += stats[bins[i]].count;
            cut = i + 1;
            if (seen * 2 >= box.count)
                break;
        }
        Box a = box, b = box;
        a.end = cut;
        b.begin = cut;
        Measure(a, bins, stats);
        Measure(b, bins, stats);
        *it = a;
        boxes.push_back(b);
    }
    std::vector<uint32_t> palette;
    for (const Box& box : boxes) {
        std::array<uint64_t, 3> sum{};
        uint64_t n = 0;
        for (size_t i = box.begin; i < box.end; ++i) {
            for (size_t k = 0; k < 3; ++k)
                sum[k] += stats[bins[i]].sum[k];
            n += stats[bins[i]].count;
        }
        if (n > 0)
            palette.push_back(MakeArgb(uint8_t((sum[0] + n / 2) / n), uint8_t((sum[1] + n / 2) / n),
                                       uint8_t((sum[2] + n / 2) / n)));
    }
    return palette;
}

uint8_t Nearest(const std::vector<uint32_t>& palette, uint32_t rgb, int skip)
{
    int best = 0;
    int bestDistance = 1 << 30;
    for (int i = 0; i < int(palette.size()); ++i) {
        if (i == skip)
            continue;
        const int dr = RedOf(palette[size_t(i)]) - RedOf(rgb), dg = GreenOf(palette[size_t(i)]) - GreenOf(rgb),
                  db = BlueOf(palette[size_t(i)]) - BlueOf(rgb);
        const int d = 2 * dr * dr + 4 * dg * dg + 3 * db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return uint8_t(best);
}

} // namespace

QuantizedImage QuantizeImage(const Bitmap& bitmap, bool keepAlpha, int maxColors)
{
    maxColors = std::clamp(maxColors, 2, 256);
    QuantizedImage q;
    q.indices.resize(bitmap.pixels.size());
    auto keyOf = [&](uint32_t p) {
        return keepAlpha && AlphaOf(p) < 128 ? kTransparentKey : (p | 0xFF000000u);
    };

    // Exact when the distinct colours fit.
    std::unordered_map<uint32_t, uint8_t> exact;
    bool fits = true;
    for (uint32_t p : bitmap.pixels) {
        const uint32_t key = keyOf(p);
        if (exact.count(key))
            continue;
        if (int(exact.size()) == maxColors) {
            fits = false;
            break;
        }
        exact.emplace(key, uint8_t(exact.size()));
        q.palette.push_back(key == kTransparentKey ? 0 : key);
        if (key == kTransparentKey)
            q.transparentIndex = int(exact.size()) - 1;
    }
    if (fits) {
        for (size_t i = 0; i < bitmap.pixels.size(); ++i)
            q.indices[i] = exact[keyOf(bitmap.pixels[i])];
        return q;
    }

    const bool anyTransparent = exact.count(kTransparentKey) ||
                                (keepAlpha && std::any_of(bitmap.pixels.begin(), bitmap.pixels.end(),
                                                          [](uint32_t p) { return AlphaOf(p) < 128; }));
    std::vector<BinStats> stats(size_t(1) << (3 * kBits));
    for (uint32_t p : bitmap.pixels) {
        if (keyOf(p) == kTransparentKey)
            continue;
        BinStats& s = stats[BinOf(p)];
        ++s.count;
        s.sum[0] += RedOf(p);
        s.sum[1] += GreenOf(p);
        s.sum[2] += BlueOf(p);
    }
    std::vector<uint32_t> occupied;
    for (uint32_t bin = 0; bin < stats.size(); ++bin)
        if (stats[bin].count)
            occupied.push_back(bin);
    q.palette = MedianCut(std::move(occupied), stats, maxColors - (anyTransparent ? 1 : 0));
    q.transparentIndex = -1;
    if (anyTransparent) {
        q.transparentIndex = int(q.palette.size());
        q.palette.push_back(0);
    }
    // Every colour of a bin maps to the entry nearest to the bin's mean.
    std::vector<int16_t> binIndex(stats.size(), -1);
    for (size_t i = 0; i < bitmap.pixels.size(); ++i) {
        const uint32_t p = bitmap.pixels[i];
        if (keyOf(p) == kTransparentKey) {
            q.indices[i] = uint8_t(q.transparentIndex);
            continue;
        }
        const uint32_t bin = BinOf(p);
        if (binIndex[bin] < 0) {
            const BinStats& s = stats[bin];
            const uint32_t mean = MakeArgb(uint8_t(s.sum[0] / s.count), uint8_t(s.sum[1] / s.count),
                                           uint8_t(s.sum[2] / s.count));
            binIndex[bin] = Nearest(q.palette, mean, q.transparentIndex);
        }
        q.indices[i] = uint8_t(binIndex[bin]);
    }
    return q;
}

} // namespace vistrel
