#pragma once
// CFlashingWnd: the frame shown around the area while it is recorded. A
// top-most window of ours that takes no input and lies wholly outside the
// area (shaped to the strips of flashing_frame.h), so the grab never sees it.
// User-interface thread only.

#include "record/core/record_options.h"

#include <QWidget>

namespace vistrel {

class CFlashingWnd : public QWidget {
    Q_OBJECT
public:
    CFlashingWnd();

    // Shapes and places the frame around area (screen pixels); hidden if empty.
    void SetUpRegion(const RecordRegion& area, bool panStyle);
    const RecordRegion& area() const { return m_area; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    RecordRegion m_area;
};

} // namespace vistrel
