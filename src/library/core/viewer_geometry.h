#pragma once
// The full-window viewer's geometry and stepping: where a picture shown at its
// actual size lies for a given pan offset, where it lies fitted to the window,
// and which entry Previous and Next open. Plain arithmetic, any thread.

#include "library/core/fit_rule.h"

#include <optional>

namespace vistrel {

// One axis of a picture shown 1 : 1: its left (or top) edge on a screen of
// screenSize whose window client is clientSize, dragged by pan. A picture
// smaller than the screen stays centred whatever the pan; a larger one starts
// centred and follows the pan until its left edge reaches 0 or its right edge
// the screen's edge (3000 on 1024 starts at -988).
int FullExtentOrigin(int imageSize, int screenSize, int clientSize, int pan);

// The picture fitted to a window of clientWidth x clientHeight (never enlarged).
PlacedRect FitToWindow(int imageWidth, int imageHeight, int clientWidth, int clientHeight);

// The pan offsets that still move a picture of imageSize on the screen: beyond
// them the picture stays put, so a window that keeps its pan inside this range
// answers at once when the drag turns back. {0, 0} for a picture that fits.
struct PanRange {
    int lowest = 0;
    int highest = 0;
};
PanRange FullExtentPanRange(int imageSize, int screenSize, int clientSize);

// The entry Previous (step -1) or Next (step +1) opens from position in a
// list of count entries: wrapping at both ends; a position outside the list
// (none yet: -1, or one left behind by a delete) counts from the nearer end.
// nullopt when the list holds fewer than two entries (nothing to step to).
std::optional<int> StepPosition(int position, int count, int step);

} // namespace vistrel
