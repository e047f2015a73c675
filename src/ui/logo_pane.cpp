#include "ui/logo_pane.h"

#include <QLinearGradient>
#include <QPainter>

namespace vistrel {

CQLogoPane::CQLogoPane(const QString& text, QWidget* parent) : QWidget(parent), m_text(text) {}

QSize CQLogoPane::sizeHint() const { return {200, 36}; }

void CQLogoPane::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QLinearGradient band(rect().topLeft(), rect().topRight());
    band.setColorAt(0, QColor(43, 87, 154));
    band.setColorAt(1, QColor(215, 235, 255));
    painter.fillRect(rect(), band);
    QFont font = painter.font();
    font.setBold(true);
    font.setItalic(true);
    font.setPixelSize(std::max(10, height() * 11 / 20));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(rect().adjusted(10, 0, -10, 0), Qt::AlignVCenter | Qt::AlignLeft, m_text);
}

} // namespace vistrel
