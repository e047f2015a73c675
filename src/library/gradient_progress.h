#pragma once
// CGradientProgressCtrl: a progress bar whose filled part shows its share of
// a gradient that runs over the whole bar, from the start colour at the left
// to the end colour at the right, drawn in bands. It shows no text.
// User-interface thread only.

#include <QColor>
#include <QProgressBar>

#include <vector>

namespace vistrel {

class CGradientProgressCtrl : public QProgressBar {
    Q_OBJECT
public:
    explicit CGradientProgressCtrl(QWidget* parent = nullptr);

    // An invalid end colour means the start colour.
    void SetBarColours(const QColor& start, const QColor& end);
    void SetBackgroundColour(const QColor& colour) { m_background = colour; update(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_start;
    QColor m_end;
    QColor m_background;
};

// The gradient's bands for a bar length in pixels: as many as the largest
// difference of one colour channel, at most length and at least 1. Band k
// starts at k * length / bands and has the start colour plus k / bands of the
// difference.
struct GradientBand {
    int start = 0;
    QColor colour;
};
std::vector<GradientBand> GradientBands(const QColor& start, const QColor& end, int length);

} // namespace vistrel
