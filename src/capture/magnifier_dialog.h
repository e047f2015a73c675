#pragma once
// CMagnifierDlg: the panel that enlarges the frozen screen around the mouse
// during a selection, with the position and, once there is an anchor, the
// size of the shape. It sits in a corner of the monitor the pointer is on and
// jumps clockwise to the next corner when the mouse comes near. It reads only
// the frozen picture, so neither it nor the rubber band ever shows in the zoom.
// User-interface thread only; owned by the overlay.

#include "capture/core/capture_geometry.h"

#include <QImage>
#include <QWidget>

#include <optional>

class QLabel;
class QTimer;

namespace vistrel {

class CMagnifierDlg : public QWidget {
    Q_OBJECT
public:
    // frozen: the overlay's picture in screen pixels; it outlives the panel.
    CMagnifierDlg(const QImage& frozen, QWidget* owner);

    // The overlay's report after each mouse move or band paint (screen pixels);
    // band: none until the first click has set the anchor.
    void UpdateInfo(const std::optional<Rect>& band, Point cursor);
    // The overlay passes on every key but Escape.
    void HandleKey(int keyCode);
    int ratio() const { return m_ratio; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void FollowCursor();
    Point CursorInScreenPixels() const;
    QRect ZoomArea() const;

    const QImage& m_frozen;
    int m_ratio;
    Point m_cursor {-1, -1};   // the centre of the zoom
    Point m_followed {-1, -1}; // where the pointer was at the last look
    QLabel* m_position;
    QLabel* m_ratioText;
    QTimer* m_follow;
};

} // namespace vistrel
