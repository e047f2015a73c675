#include "help/link_static.h"

#include "help/core/fit_to_text.h"
#include "help/core/link_errors.h"
#include "help/goto_url.h"

#include <QFontMetrics>
#include <QMouseEvent>

namespace vistrel {

CLinkStatic::CLinkStatic(const QString& text, QWidget* parent, Opener opener)
    : QLabel(text, parent), m_opener(opener ? std::move(opener) : Opener(GotoURL))
{
    setTextFormat(Qt::PlainText);
    setCursor(Qt::PointingHandCursor);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    UpdateColour();
    SetURL(text);
}

void CLinkStatic::SetURL(const QString& url)
{
    m_url = url.isEmpty() ? text() : url;
    if (text().isEmpty())
        setText(m_url);
    setToolTip(m_url);
    FitToText();
}

QColor CLinkStatic::TextColour() const
{
    if (m_overLink)
        return palette().color(QPalette::Active, QPalette::Highlight);
    return m_visited ? kVisitedColour : kLinkColour;
}

void CLinkStatic::FitToText()
{
    const QSize extent = fontMetrics().size(Qt::TextSingleLine, text());
    const Qt::Alignment align = alignment();
    const TextAlign horizontal = (align & Qt::AlignHCenter) ? TextAlign::Centre
                                 : (align & Qt::AlignRight) ? TextAlign::Right
                                                            : TextAlign::Left;
    const QRect r = geometry();
    const TextRect fitted = FitRectToText({r.left(), r.top(), r.left() + r.width(), r.top() + r.height()},
                                          extent.width(), extent.height(), horizontal,
                                          (align & Qt::AlignVCenter) != 0);
    setGeometry(fitted.left, fitted.top, fitted.right - fitted.left, fitted.bottom - fitted.top);
}

void CLinkStatic::enterEvent(QEnterEvent* event)
{
    SetOverLink(true);
    QLabel::enterEvent(event);
}

void CLinkStatic::leaveEvent(QEvent* event)
{
    SetOverLink(false);
    QLabel::leaveEvent(event);
}

void CLinkStatic::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Open();
}

void CLinkStatic::SetOverLink(bool over)
{
    if (m_overLink == over)
        return;
    m_overLink = over;
    UpdateColour();
}

void CLinkStatic::UpdateColour()
{
    // A style sheet of its own: the program's sheet would otherwise win over a palette.
    setStyleSheet(QString("color: %1; background: transparent;").arg(TextColour().name()));
}

void CLinkStatic::Open()
{
    const int result = m_opener(m_url);
    m_visited = result > kOpenedAbove;
    UpdateColour();
    if (!m_visited)
        ReportLinkError(window(), result);
}

} // namespace vistrel
