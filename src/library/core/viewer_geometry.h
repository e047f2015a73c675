#pragma once
// The full-window viewer's picture position at actual size: centred while it
// fits, else panned by the user's drag but never so far that a gap opens at
// the right or bottom edge. Pure arithmetic, any thread.

namespace vistrel {

// Where the picture's edge goes along one axis: imageSize against the screen's
// size and the window's client size, pan being how far the user dragged it.
// Halves are integer halves.
int FullExtentOrigin(int imageSize, int screenSize, int clientSize, int pan);

} // namespace vistrel
