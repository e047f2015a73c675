// screen_animator [PERIOD_MS]: covers the whole screen with a picture that
// moves every PERIOD_MS milliseconds (default 50), or, with 0, stays still.
// Half of it is photo-like (smooth colours with fine noise), half flat panels
// and lines like a desktop; it moves by a few pixels each step, so every frame
// differs everywhere. The picture lives in the X server: each step is one
// CopyArea, so the animation costs this process next to nothing. Runs until
// killed. For the recording benchmark.

#include <xcb/xcb.h>

#include <chrono>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

uint32_t Hash(uint32_t x)
{
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

uint32_t PixelAt(int x, int y, int width)
{
    if (x < width) { // photo-like
        const int n = int(Hash(uint32_t(y) * 7919u + uint32_t(x)) & 31) - 16;
        auto channel = [&](int base) { return uint32_t(std::clamp(base + n, 0, 255)); };
        const int r = 128 + int(100 * ((x * 3 + y) % 512) / 512) - 50;
        const int g = 60 + (y * 150) / 1100 + (x % 97);
        const int b = 200 - (x * y) % 180;
        return channel(r) << 16 | channel(g) << 8 | channel(b);
    }
    // Flat panels with lines of "text".
    const int u = x - width;
    if (y < 40)
        return 0x2b579a;
    if ((y / 22) % 2 == 0 && (u % 300) < 220 && (y % 22) > 6 && (y % 22) < 16)
        return (Hash(uint32_t(u / 7) + uint32_t(y / 22) * 131u) & 1) ? 0x333333 : 0xf0f0f0;
    return (u / 240) % 2 ? 0xffffff : 0xe8e8e8;
}

} // namespace

int main(int argc, char** argv)
{
    const int periodMs = argc > 1 ? std::atoi(argv[1]) : 50;
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "screen_animator: no display\n");
        return 1;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const int w = screen->width_in_pixels, h = screen->height_in_pixels;
    const int margin = 256; // room to move
    const int pw = w + margin, ph = h + margin;

    const xcb_window_t window = xcb_generate_id(c);
    const uint32_t values[] = {1u}; // override-redirect: no window manager needed
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, uint16_t(w), uint16_t(h), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_OVERRIDE_REDIRECT, values);
    const xcb_pixmap_t picture = xcb_generate_id(c);
    xcb_create_pixmap(c, screen->root_depth, picture, screen->root, uint16_t(pw), uint16_t(ph));
    const xcb_gcontext_t gc = xcb_generate_id(c);
    xcb_create_gc(c, gc, picture, 0, nullptr);

    const size_t maxRequest = size_t(xcb_get_maximum_request_length(c)) * 4;
    const int rows = std::max(1, int((maxRequest - 64) / (size_t(pw) * 4)));
    std::vector<uint32_t> strip(size_t(pw) * size_t(rows));
    for (int top = 0; top < ph; top += rows) {
        const int n = std::min(rows, ph - top);
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < pw; ++x)
                strip[size_t(y) * size_t(pw) + size_t(x)] = PixelAt(x, top + y, pw / 2);
        xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, picture, gc, uint16_t(pw), uint16_t(n), 0, int16_t(top), 0,
                      screen->root_depth, uint32_t(size_t(pw) * size_t(n) * 4),
                      reinterpret_cast<const uint8_t*>(strip.data()));
    }
    xcb_map_window(c, window);
    xcb_copy_area(c, picture, window, gc, 0, 0, 0, 0, uint16_t(w), uint16_t(h));
    xcb_flush(c);
    std::printf("ready\n");
    std::fflush(stdout);

    auto next = std::chrono::steady_clock::now();
    for (int step = 1;; ++step) {
        if (periodMs <= 0) { // still: nothing more is drawn
            while (xcb_generic_event_t* event = xcb_wait_for_event(c))
                std::free(event);
            return 0;
        }
        next += std::chrono::milliseconds(periodMs);
        std::this_thread::sleep_until(next);
        const int dx = (step * 7) % margin, dy = (step * 3) % margin;
        xcb_copy_area(c, picture, window, gc, int16_t(dx), int16_t(dy), 0, 0, uint16_t(w), uint16_t(h));
        xcb_flush(c);
        if (xcb_connection_has_error(c))
            return 0;
    }
}
