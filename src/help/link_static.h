#pragma once
// CLinkStatic: a text that opens a web address when clicked. Underlined, in the
// link colour until a click has opened it, then in the visited colour; in the
// desktop's highlight colour while the mouse is over it; a hand cursor and the
// address as its tool tip. It fits itself to its text: placed by its parent
// (no layout), its rectangle shrinks to the text, keeping the edge (or middle)
// its alignment names. A failed opening beeps and says why; the link stays
// unvisited. User-interface thread only.

#include <QColor>
#include <QLabel>

#include <functional>

namespace vistrel {

class CLinkStatic : public QLabel {
    Q_OBJECT
public:
    // opener: GotoURL unless a test gives its own; its result above 32 is success.
    using Opener = std::function<int(const QString& url)>;
    CLinkStatic(const QString& text, QWidget* parent, Opener opener = {});

    // The address opened on a click, also the tool tip; an empty text shows it.
    void SetURL(const QString& url);
    QString GetURL() const { return m_url; }

    bool visited() const { return m_visited; }
    bool overLink() const { return m_overLink; }
    QColor TextColour() const;

    // Shrinks (or grows) the rectangle to the text; done by SetURL too.
    void FitToText();

    static constexpr QColor kLinkColour{0, 0, 238};
    static constexpr QColor kVisitedColour{85, 26, 139};

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void SetOverLink(bool over);
    void UpdateColour();
    void Open();

    QString m_url;
    Opener m_opener;
    bool m_overLink = false;
    bool m_visited = false;
};

} // namespace vistrel
