#include "library/gradient_progress.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace vistrel {

CGradientProgressCtrl::CGradientProgressCtrl(QWidget* parent)
    : QProgressBar(parent), m_start(palette().color(QPalette::Active, QPalette::Highlight)), m_end(m_start),
      m_background(palette().color(QPalette::Button))
{
    setTextVisible(false);
}

void CGradientProgressCtrl::SetBarColours(const QColor& start, const QColor& end)
{
    m_start = start;
    m_end = end.isValid() ? end : start;
    update();
}

std::vector<GradientBand> GradientBands(const QColor& start, const QColor& end, int length)
{
    const int spread = std::max({std::abs(end.red() - start.red()), std::abs(end.green() - start.green()),
                                 std::abs(end.blue() - start.blue())});
    const int bands = std::max(1, std::min(spread, length));
    std::vector<GradientBand> result;
    const double width = double(length) / bands;
    for (int k = 0; k < bands; ++k) {
        const auto channel = [&](int from, int to) { return from + (to - from) * k / bands; };
        result.push_back({int(k * width), QColor(channel(start.red(), end.red()), channel(start.green(), end.green()),
                                                 channel(start.blue(), end.blue()))});
    }
    return result;
}

void CGradientProgressCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
    const int low = minimum(), high = maximum(), position = value();
    if (high <= low || position < low || position > high)
        return;
    const int length = width();
    const int filled = int(double(length) * (position - low) / (high - low));
    const auto bands = GradientBands(m_start, m_end, length);
    for (size_t k = 0; k < bands.size(); ++k) {
        const int from = bands[k].start;
        if (from >= filled)
            break;
        const int to = std::min(filled, k + 1 < bands.size() ? bands[k + 1].start : length);
        painter.fillRect(QRect(from, 0, to - from, height()), bands[k].colour);
    }
}

} // namespace vistrel
