#pragma once
// The built-in cursor pictures (record/core/builtin_cursors.h) drawn as the
// recorder draws cursors: 32 x 32 straight ARGB with the picture's hot spot.
// Needs a QGuiApplication; user-interface thread.

#include "capture/core/cursor_image.h"

#include <optional>

namespace vistrel {

// Entry index of the list; nullopt outside it or when its drawing cannot be read.
std::optional<CursorImage> BuiltInCursorImage(int index);

} // namespace vistrel
