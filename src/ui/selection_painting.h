#pragma once
// How the screen selectors draw a selection over their frozen picture of the
// screen: the still captures' overlay and the recording and timer dialogs'
// area selector look and measure alike. Outside the selection the picture is
// dimmed; the outline is a light line under a dark one, seen on any picture;
// a label at its lower right names the size the result will have, by the
// rules every capture follows (AreaForRequest), so the label and the file
// agree. Everything in screen pixels: the caller scales the painter to them.
// User-interface thread only.

#include "capture/core/capture_geometry.h"

class QPainter;

namespace vistrel {

class RegionSelection;

// The selection as it stands: crosshairs before the first corner, then the
// shape's outline, and the size label for every shape but the polygon.
// screenWidth x screenHeight: the frozen picture's size.
void PaintSelection(QPainter& painter, const RegionSelection& selection, int screenWidth, int screenHeight);

// A plain rectangle (a fixed-size area that follows the pointer) drawn as a
// rectangle selection of the same pixels.
void PaintRectangleSelection(QPainter& painter, const Rect& area, int screenWidth, int screenHeight);

} // namespace vistrel
