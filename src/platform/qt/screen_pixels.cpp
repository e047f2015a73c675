#include "platform/qt/screen_pixels.h"

#include "platform/x11/window_at_pointer.h"
#include "platform/x11/x11_connection.h"

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

Point PointerScreenPixels(QPointF local, double ratio, const x11::Connection* pointerConn)
{
    if (ratio != 1.0 && pointerConn && pointerConn->ok())
        if (const auto exact = x11::PointerPosition(*pointerConn))
            return {exact->first, exact->second};
    return ToScreenPixels(local, ratio);
}

} // namespace vistrel
