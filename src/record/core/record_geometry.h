#pragma once
// The geometry of the recorded area: rectangles with inclusive right and bottom
// (RecordRegion), fitted to the screen, and the auto-pan step that lets the
// area follow the cursor. Pure integer arithmetic; division truncates toward
// zero as written.

#include "capture/core/capture_geometry.h"
#include "record/core/record_options.h"

#include <optional>

namespace vistrel {

class RegionSelection;

// The same pixels with right and bottom exclusive (a capture's Rect), and back.
RecordRegion RegionOfArea(const Rect& area);
Rect AreaOfRegion(const RecordRegion& region);

// The region a finished rectangle selection chooses: the pixels a still
// capture of the same gesture keeps (AreaForRequest), so the same drag gives
// the same size wherever it is made. nullopt when that area is empty (two
// clicks on one point, or a line).
std::optional<RecordRegion> RegionOfSelection(const RegionSelection& selection, int screenWidth, int screenHeight);

// Swaps left/right and top/bottom where they are the wrong way round.
RecordRegion Normalised(RecordRegion r);

// Onto a screen of width x height: normalised; a side longer than the screen
// becomes the screen's; then moved (keeping its size) so that no edge is off
// the screen.
RecordRegion FitToScreen(RecordRegion r, int screenWidth, int screenHeight);

// The whole screen.
RecordRegion FullScreenRegion(int screenWidth, int screenHeight);

// Whether auto-pan applies: the area is smaller than the screen both ways.
bool CanAutoPan(int64_t width, int64_t height, int screenWidth, int screenHeight);

// One frame's move of the pan rectangle `pan` (width x height of the recorded
// area) after the cursor at (x, y): no move while the cursor is inside the
// middle half of the area on an axis; else toward centring the cursor, at most
// `speed` pixels per axis, never leaving the screen.
RecordRegion AutoPanStep(const RecordRegion& pan, int x, int y, int screenWidth, int screenHeight, int speed);

// Fixed-size selection: the rectangle whose sides are the cursor plus the
// offsets (each side minus the rectangle's centre when the selection began),
// kept whole on the screen: an edge past the screen puts the rectangle against
// that edge at its fixed size.
struct FixedOffsets {
    int left = 0, top = 0, right = 0, bottom = 0;
};
FixedOffsets OffsetsFromCentre(const RecordRegion& fixed);
RecordRegion FixedRectAt(int x, int y, const FixedOffsets& offsets, int fixedWidth, int fixedHeight,
                         int screenWidth, int screenHeight);

} // namespace vistrel
