#pragma once
// The program's own pictures: drawn for this program as SVG on a pixel grid
// (src/ui/pictures/), compiled in as Qt resources, and handed out as icons that
// render the vector source at the size and device pixel ratio asked for, so they
// are sharp at 1x and 2x alike.
//
// A picture may have several designs for different sizes: a command has a 30 x 30
// tool-bar drawing and an 18 x 16 menu drawing, the application icon a detailed
// drawing and a simpler one for 16 pixels. An icon picks the design by the size
// it is shown at (in device-independent pixels) and renders that design at the
// device's resolution. The menu drawings keep a free column on each side, so a
// 16 x 16 request (the usual menu icon size) gets the middle 16 columns whole.
//
// The QIcon functions need a QGuiApplication and belong to the user-interface
// thread. ApplicationIconImage works on a QImage and needs neither.

#include <QIcon>
#include <QImage>
#include <QSize>

namespace vistrel {

// Design sizes: show the tool bar at kToolBarPictureSize (QToolBar::setIconSize)
// and the pictures are drawn pixel for pixel; smaller or larger sizes scale.
inline constexpr QSize kToolBarPictureSize{30, 30};
inline constexpr QSize kMenuPictureSize{18, 16};
inline constexpr QSize kTrayPictureSize{16, 16};

inline constexpr int kTimerTrayFrameCount = 8;

// The picture of a tool-bar or menu command (Full Screen 32771, Object 32806,
// Rectangle 32772, Circle 32773, Ellipse 32774, Polygon 32775, Timer 32800,
// Capture Icons 32777, Record AVI 32802, View 32818, About 57664, Thumbnails
// 32780, Large Icons 59409, Small Icons 59408, List 32778, Details 32779,
// Option 32811). One icon serves the command's menu item and its tool-bar button:
// it holds both designs where the command has both. A null icon for any other id.
QIcon CommandPicture(int commandId);
// Only the 30 x 30 design, or only the 18 x 16 one; null when the command has none.
QIcon ToolBarPicture(int commandId);
QIcon MenuPicture(int commandId);
// The commands of the tool bar, left to right, and of the menu image strip, in order.
const QList<int>& ToolBarPictureCommands();
const QList<int>& MenuPictureCommands();

// The application icon (windows, caption, About box, installed icon) and the tray
// icon of the main window minimised to the tray (the application icon with its
// 16-pixel design first).
QIcon ApplicationIcon();
QIcon TrayIcon();
// The running timer's tray animation; any index is taken modulo the frame count,
// so a running counter may be passed.
QIcon TimerTrayFrame(int index);
// The tray icon of a running recording: a red light.
QIcon RecordingTrayIcon();
// The library's folders, closed and open (selected), 16 x 16.
QIcon FolderPicture(bool open);
// The small pictures of the window's own furniture, 16 x 16.
enum class FramePictureKind { Extension, BarFloat, BarClose };
QIcon FramePicture(FramePictureKind kind);

// The application icon rendered at sizePx x sizePx pixels on transparency; a null
// image for a size below 1 or above 1024.
QImage ApplicationIconImage(int sizePx);

} // namespace vistrel
