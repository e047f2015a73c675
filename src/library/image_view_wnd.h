#pragma once
// CImageViewWnd: the full-window viewer. A borderless window over the whole
// screen, above the others, showing one captured picture at actual size
// (dragged with the mouse or the arrow keys) or fitted to the screen, stepping
// through the captured bitmaps with Previous and Next (P, N, Space, the wheel,
// its menu). A double click, Escape, Enter, Q, F2 or its menu close it; it is
// deleted on closing. What outlives it (where Previous and Next stand, actual
// size or fitted) is kept by whoever opens it, in a ViewerMemory.
//
// User-interface thread only. A file that cannot be decoded shows nothing;
// Previous and Next still work.

#include "library/core/capture_lists.h"

#include <QImage>
#include <QPoint>
#include <QString>
#include <QWidget>

namespace vistrel {

class CaptureLibrary;

struct ViewerMemory {
    int position = -1;      // index in the bitmaps list that Previous and Next move from
    bool fullExtent = true; // actual size, else fitted to the window
};

class CImageViewWnd : public QWidget {
    Q_OBJECT
public:
    // owner: the main window; library and memory must outlive the viewer.
    CImageViewWnd(const CaptureLibrary& library, ViewerMemory& memory, QWidget* owner);

    // Shows the file (the drag offset is kept). A missing file shows nothing.
    void Open(const QString& path);
    void Previous();
    void Next();
    void SetFullExtent(bool on);

    const QString& path() const { return m_path; }
    bool hasPicture() const { return !m_picture.isNull(); }
    QPoint pan() const { return m_pan; }
    // Where the picture's top-left corner is drawn at actual size.
    QPoint FullExtentOrigin() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // A move to point with the left button held: drags the picture.
    void DragTo(QPoint point);
    void Step(int delta);
    void ShowMenu(QPoint at);
    void UpdateCursor();

    const CaptureLibrary& m_library;
    ViewerMemory& m_memory;
    QRect m_screen;
    bool m_ignoreNextMove = true; // the move that comes with the window's appearing
    QPoint m_pan;
    QPoint m_lastPoint;
    QImage m_picture;
    QString m_path;
};

} // namespace vistrel
