#pragma once
// Cursors the user loads from a file for the recording: a .cur file (the icon
// layout, its hot spots in the directory) or an .ico file used as a cursor.
// Plain file reading, any thread.

#include "capture/core/cursor_image.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vistrel {

// The side a cursor is drawn at; of a file's images the one nearest to it is used.
constexpr int kCursorSide = 32;
// Larger images are not cursors, whatever the file says.
constexpr int kMaxCursorSide = 256;

// Whether the chooser's file is to be loaded: its name, upper-cased, ends in
// ".ICO" or ".CUR" (so "arrow.cur" is taken and "busy.ani" is not).
bool IsCursorFileName(std::string_view path);

// The picture of the file's image nearest to 32 x 32 that decodes, with its
// hot spot: a cursor's own (kept inside the picture), an icon's centre, as an
// icon drawn as a cursor points with its middle. nullopt, with the reason in
// *error, for anything else.
std::optional<CursorImage> CursorFromFileBytes(std::span<const uint8_t> bytes, std::string* error = nullptr);
std::optional<CursorImage> ReadCursorFile(const std::string& path, std::string* error = nullptr);

} // namespace vistrel
