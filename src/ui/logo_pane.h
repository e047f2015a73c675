#pragma once
// CQLogoPane: a static pane that shows a text as a banner, as the Options
// sheet carries the program's name.

#include <QWidget>

namespace vistrel {

class CQLogoPane : public QWidget {
    Q_OBJECT
public:
    explicit CQLogoPane(const QString& text, QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
};

} // namespace vistrel
