// A test-only command-line front end to the plain-xcb screen services, so the
// end-to-end scripts can check them on a private X server before the program's own
// command line exists. Output is one line of key=value pairs per query.

#include "platform/x11/cursor_image.h"
#include "platform/x11/key_grab.h"
#include "platform/x11/screen_grab.h"
#include "platform/x11/window_at_pointer.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>
#include <unistd.h>

namespace {

using vistrel::Bitmap;
namespace x11 = vistrel::x11;

int Fail(const std::string& message)
{
    std::cerr << "x11_probe: " << message << "\n";
    return 1;
}

std::optional<int> ParseInt(const char* text)
{
    char* end = nullptr;
    const long value = std::strtol(text, &end, 0);
    if (!*text || *end || value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return int(value);
}

// Reads count integers from argv[first...]; nullopt if any is missing or malformed.
std::optional<std::vector<int>> ParseInts(int argc, char** argv, int first, int count)
{
    if (argc < first + count)
        return std::nullopt;
    std::vector<int> values;
    for (int i = first; i < first + count; ++i) {
        const auto value = ParseInt(argv[i]);
        if (!value)
            return std::nullopt;
        values.push_back(*value);
    }
    return values;
}

bool WritePpm(const Bitmap& image, const std::string& path)
{
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << image.width << " " << image.height << "\n255\n";
    std::vector<char> row(size_t(image.width) * 3);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const uint32_t pixel = image.at(x, y);
            row[size_t(x) * 3] = char(vistrel::RedOf(pixel));
            row[size_t(x) * 3 + 1] = char(vistrel::GreenOf(pixel));
            row[size_t(x) * 3 + 2] = char(vistrel::BlueOf(pixel));
        }
        out.write(row.data(), std::streamsize(row.size()));
    }
    return bool(out.flush());
}

// Every pixel differs from its neighbours in each channel, so an offset, a swapped
// channel or a dropped row shows up as a mismatch.
Bitmap TestPattern(int width, int height)
{
    Bitmap image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.at(x, y) = vistrel::MakeArgb(uint8_t(x * 7 + y), uint8_t(y * 5 + (x >> 3)),
                                               uint8_t((x ^ y) * 3 + (x >> 8) * 40));
        }
    }
    return image;
}

std::string RectText(const x11::ScreenRect& r)
{
    return std::to_string(r.x) + "," + std::to_string(r.y) + "," + std::to_string(r.width) +
           "," + std::to_string(r.height);
}

void PrintWindow(const x11::WindowArea& area)
{
    char id[32];
    std::snprintf(id, sizeof id, "0x%x", unsigned(area.window));
    std::cout << "window=" << id << " bounds=" << RectText(area.bounds)
              << " visible=" << RectText(area.visible) << "\n";
}

x11::ScreenRect AreaFrom(const x11::Connection& conn, int argc, char** argv, int first)
{
    if (const auto values = ParseInts(argc, argv, first, 4))
        return {(*values)[0], (*values)[1], (*values)[2], (*values)[3]};
    return {0, 0, conn.width(), conn.height()};
}

int Grab(const x11::Connection& conn, int argc, char** argv)
{
    if (argc < 3 || (argc != 3 && argc != 7))
        return Fail("usage: grab OUT.ppm [X Y W H]");
    const x11::ScreenRect area = AreaFrom(conn, argc, argv, 3);
    if (argc == 7 && !ParseInts(argc, argv, 3, 4))
        return Fail("grab: X Y W H must be integers");
    std::string error;
    x11::GrabOutcome outcome;
    const auto start = std::chrono::steady_clock::now();
    const auto image = x11::GrabArea(conn, area, &error, {}, &outcome);
    const auto elapsedMs = std::chrono::duration<double, std::milli>(
        std::chrono::steady_clock::now() - start).count();
    if (!image)
        return Fail("grab failed: " + error);
    const bool opaque = std::all_of(image->pixels.begin(), image->pixels.end(),
                                    [](uint32_t p) { return vistrel::AlphaOf(p) == 0xFF; });
    std::cout << "method="
              << (outcome.method == x11::GrabMethod::SharedMemory ? "shm" : "strips")
              << " size=" << image->width << "x" << image->height
              << " opaque=" << (opaque ? 1 : 0) << " ms=" << elapsedMs << "\n";
    if (!outcome.sharedMemoryProblem.empty())
        std::cout << "shm_problem=\"" << outcome.sharedMemoryProblem << "\"\n";
    return WritePpm(*image, argv[2]) ? 0 : Fail(std::string("cannot write ") + argv[2]);
}

int Bench(const x11::Connection& conn, int argc, char** argv)
{
    const auto count = argc >= 3 ? ParseInt(argv[2]) : std::nullopt;
    if (!count || *count <= 0)
        return Fail("usage: bench COUNT [X Y W H]");
    const x11::ScreenRect area = AreaFrom(conn, argc, argv, 3);
    double bestMs = 1e9, totalMs = 0;
    x11::GrabOutcome outcome;
    for (int i = 0; i < *count; ++i) {
        std::string error;
        const auto start = std::chrono::steady_clock::now();
        if (!x11::GrabArea(conn, area, &error, {}, &outcome))
            return Fail("grab failed: " + error);
        const double ms = std::chrono::duration<double, std::milli>(
            std::chrono::steady_clock::now() - start).count();
        bestMs = std::min(bestMs, ms);
        totalMs += ms;
    }
    std::cout << "method="
              << (outcome.method == x11::GrabMethod::SharedMemory ? "shm" : "strips")
              << " size=" << area.width << "x" << area.height << " best_ms=" << bestMs
              << " mean_ms=" << totalMs / *count << "\n";
    return 0;
}

int Cursor(const x11::Connection& conn, int argc, char** argv)
{
    std::string error;
    const auto cursor = x11::ReadCursorImage(conn, &error);
    if (!cursor)
        return Fail("cursor failed: " + error);
    const auto visible = std::count_if(cursor->image.pixels.begin(), cursor->image.pixels.end(),
                                       [](uint32_t p) { return vistrel::AlphaOf(p) != 0; });
    std::cout << "size=" << cursor->image.width << "x" << cursor->image.height
              << " hot=" << cursor->hotX << "," << cursor->hotY << " pos=" << cursor->x << ","
              << cursor->y << " visible_pixels=" << visible << "\n";
    if (argc >= 3 && !WritePpm(cursor->image, argv[2]))
        return Fail(std::string("cannot write ") + argv[2]);
    return 0;
}

// Premultiplied in, straight out: known values, including rounding and the
// clamping of malformed input whose colour exceeds its alpha.
int CheckUnpremultiply()
{
    struct Case { uint32_t in, out; };
    const Case cases[] = {
        {0x00000000, 0x00000000}, {0x00FFFFFF, 0x00000000}, {0xFF123456, 0xFF123456},
        {0x80404040, 0x80808080}, {0x80800000, 0x80FF0000}, {0x01010101, 0x01FFFFFF},
        {0x10FF0008, 0x10FF0080}, {0xC0300000, 0xC0400000},
    };
    int failures = 0;
    for (const Case& c : cases) {
        const uint32_t got = x11::UnpremultiplyArgb(c.in);
        if (got != c.out) {
            std::fprintf(stderr, "unpremultiply 0x%08x: got 0x%08x, want 0x%08x\n",
                         unsigned(c.in), unsigned(got), unsigned(c.out));
            ++failures;
        }
    }
    return failures ? 1 : 0;
}

// Holds a hotkey (stored modifiers and virtual key) until ended by a signal,
// so another program's grab of it can be seen to fail.
int HoldKey(const x11::Connection& conn, int argc, char** argv)
{
    const auto key = ParseInts(argc, argv, 2, 2);
    if (!key || argc != 4)
        return Fail("usage: hold-key MODIFIERS VIRTUAL_KEY");
    const x11::KeyGrab grab(conn, {uint32_t((*key)[0]), uint32_t((*key)[1])});
    if (!grab.ok())
        return Fail("cannot hold the key: " + grab.problem());
    std::cout << "held" << std::endl;
    for (;;)
        pause();
}

int Usage()
{
    std::cerr << "usage: x11_probe pattern W H OUT.ppm | grab OUT.ppm [X Y W H] |\n"
                 "       bench COUNT [X Y W H] | cursor [OUT.ppm] | pointed |\n"
                 "       at X Y [IGNORED_WINDOW...] | rect WINDOW | check-unpremultiply |\n"
                 "       hold-key MODIFIERS VIRTUAL_KEY\n";
    return 2;
}

} // namespace

xcb_atom_t InternAtom(const x11::Connection& conn, const char* name)
{
    x11::Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        conn.get(), xcb_intern_atom(conn.get(), 0, uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : XCB_NONE;
}

// What a window manager or a session manager sends to close a window politely.
bool AskToClose(const x11::Connection& conn, xcb_window_t window)
{
    xcb_client_message_event_t message {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.window = window;
    message.type = InternAtom(conn, "WM_PROTOCOLS");
    message.format = 32;
    message.data.data32[0] = InternAtom(conn, "WM_DELETE_WINDOW");
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(conn.get(), 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
    return xcb_flush(conn.get()) > 0;
}

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    const std::string command = argv[1];
    if (command == "check-unpremultiply")
        return CheckUnpremultiply();
    if (command == "pattern") {
        const auto size = ParseInts(argc, argv, 2, 2);
        if (!size || argc != 5 || (*size)[0] <= 0 || (*size)[1] <= 0 || (*size)[0] > 32767 ||
            (*size)[1] > 32767)
            return Fail("usage: pattern W H OUT.ppm");
        return WritePpm(TestPattern((*size)[0], (*size)[1]), argv[4]) ? 0 : Fail("cannot write");
    }

    const x11::Connection conn;
    if (!conn.ok())
        return Fail(conn.error());
    std::string error;
    if (command == "grab")
        return Grab(conn, argc, argv);
    if (command == "bench")
        return Bench(conn, argc, argv);
    if (command == "cursor")
        return Cursor(conn, argc, argv);
    if (command == "hold-key")
        return HoldKey(conn, argc, argv);
    if (command == "close") {
        const auto id = argc == 3 ? ParseInt(argv[2]) : std::nullopt;
        if (!id)
            return Fail("usage: close WINDOW");
        return AskToClose(conn, xcb_window_t(*id)) ? 0 : Fail("cannot send the request");
    }
    if (command == "pointed" || command == "at" || command == "rect") {
        std::optional<x11::WindowArea> area;
        if (command == "pointed") {
            area = x11::WindowAtPointer(conn, &error);
        } else if (command == "at") {
            const auto point = ParseInts(argc, argv, 2, 2);
            const auto ignored = ParseInts(argc, argv, 4, argc - 4);
            if (!point || !ignored)
                return Fail("usage: at X Y [IGNORED_WINDOW...]");
            const std::vector<xcb_window_t> ignoredWindows(ignored->begin(), ignored->end());
            area = x11::WindowAtPoint(conn, (*point)[0], (*point)[1], &error, ignoredWindows);
        } else {
            const auto id = argc == 3 ? ParseInt(argv[2]) : std::nullopt;
            if (!id)
                return Fail("usage: rect WINDOW");
            area = x11::WindowRectangle(conn, xcb_window_t(*id), &error);
        }
        if (!area)
            return Fail(command + " failed: " + error);
        PrintWindow(*area);
        return 0;
    }
    return Usage();
}
