#include "ui/color_picker.h"

#include <QColorDialog>
#include <QPainter>
#include <QStyleOptionButton>

namespace vistrel {

QColor ColorFromRef(uint32_t colorRef)
{
    return QColor(int(colorRef & 0xFF), int((colorRef >> 8) & 0xFF), int((colorRef >> 16) & 0xFF));
}

uint32_t RefFromColor(const QColor& color)
{
    return uint32_t(color.red()) | uint32_t(color.green()) << 8 | uint32_t(color.blue()) << 16;
}

CColorPicker::CColorPicker(QWidget* parent) : QPushButton(parent)
{
    setMinimumSize(60, 24);
    connect(this, &QPushButton::clicked, this, &CColorPicker::Choose);
}

void CColorPicker::SetColor(uint32_t colorRef)
{
    colorRef &= 0xFFFFFF;
    if (colorRef == m_color)
        return;
    m_color = colorRef;
    update();
    emit colorChanged(m_color);
}

void CColorPicker::Choose()
{
    const QColor chosen = QColorDialog::getColor(ColorFromRef(m_color), this);
    if (chosen.isValid())
        SetColor(RefFromColor(chosen));
}

void CColorPicker::paintEvent(QPaintEvent* event)
{
    QPushButton::paintEvent(event);
    QPainter painter(this);
    const QRect swatch = rect().adjusted(6, 5, -6, -5);
    painter.fillRect(swatch, ColorFromRef(m_color));
    painter.setPen(isEnabled() ? palette().color(QPalette::WindowText) : palette().color(QPalette::Mid));
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
}

} // namespace vistrel
