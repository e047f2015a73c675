#include "platform/qt/screen_pixels.h"

#include <cmath>

namespace vistrel {

namespace {

int Round(double value) { return int(std::lround(value)); }

} // namespace

Point ToScreenPixels(QPointF logical, double ratio) { return {Round(logical.x() * ratio), Round(logical.y() * ratio)}; }

Rect ToScreenPixels(const QRect& logical, double ratio)
{
    return {Round(logical.left() * ratio), Round(logical.top() * ratio),
            Round((logical.left() + logical.width()) * ratio), Round((logical.top() + logical.height()) * ratio)};
}

QRect ToLogical(const Rect& pixels, double ratio)
{
    return QRect(Round(pixels.left / ratio), Round(pixels.top / ratio), Round(pixels.width() / ratio),
                 Round(pixels.height() / ratio));
}

} // namespace vistrel
