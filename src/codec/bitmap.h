#pragma once
// An image in memory: 32-bit pixels 0xAARRGGBB, row-major, no padding. On a
// little-endian host this is the byte order (B, G, R, A) of an X ZPixmap of depth
// 24 or 32, so a screen grab becomes a Bitmap with one copy and no conversion.
// Captures are opaque: whatever the alpha byte holds, writers of 24-bit files
// ignore it.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vistrel {

constexpr uint32_t MakeArgb(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 0xFF)
{
    return (uint32_t(a) << 24) | (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b);
}
constexpr uint8_t RedOf(uint32_t argb) { return uint8_t(argb >> 16); }
constexpr uint8_t GreenOf(uint32_t argb) { return uint8_t(argb >> 8); }
constexpr uint8_t BlueOf(uint32_t argb) { return uint8_t(argb); }
constexpr uint8_t AlphaOf(uint32_t argb) { return uint8_t(argb >> 24); }

// A settings colour (red in the low byte, then green, then blue) as an opaque pixel.
constexpr uint32_t ArgbFromColorRef(uint32_t colorRef)
{
    return MakeArgb(uint8_t(colorRef), uint8_t(colorRef >> 8), uint8_t(colorRef >> 16));
}

// Pixel storage. Large images are allocated in 2 MiB pages where the system
// offers them: a screen's worth of 4 KiB pages costs thousands of page faults,
// which on a virtual machine take longer than the capture itself.
template <typename T>
struct PixelAllocator {
    using value_type = T;
    PixelAllocator() = default;
    template <typename U>
    PixelAllocator(const PixelAllocator<U>&) noexcept {}
    T* allocate(size_t n) { return static_cast<T*>(AllocatePixelMemory(n * sizeof(T))); }
    void deallocate(T* p, size_t n) noexcept { FreePixelMemory(p, n * sizeof(T)); }
    template <typename U>
    bool operator==(const PixelAllocator<U>&) const noexcept { return true; }

    static void* AllocatePixelMemory(size_t bytes);
    static void FreePixelMemory(void* p, size_t bytes) noexcept;
};

using PixelVector = std::vector<uint32_t, PixelAllocator<uint32_t>>;

struct Bitmap {
    int width = 0;
    int height = 0;
    PixelVector pixels;

    Bitmap() = default;
    Bitmap(int w, int h, uint32_t fill = 0)
        : width(w > 0 && h > 0 ? w : 0), height(w > 0 && h > 0 ? h : 0),
          pixels(size_t(width) * size_t(height), fill) {}

    bool empty() const { return width <= 0 || height <= 0; }
    // Bitmap is a plain struct: one whose pixels do not match its size is treated
    // as holding nothing rather than read past its end.
    bool holdsAllPixels() const { return !empty() && pixels.size() >= size_t(width) * size_t(height); }
    uint32_t* row(int y) { return pixels.data() + size_t(y) * size_t(width); }
    const uint32_t* row(int y) const { return pixels.data() + size_t(y) * size_t(width); }
    uint32_t& at(int x, int y) { return row(y)[x]; }
    uint32_t at(int x, int y) const { return row(y)[x]; }
};

} // namespace vistrel
