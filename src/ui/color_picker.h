#pragma once
// CColorPicker: a button that shows a colour; a click lets the user choose
// another. Colours are COLORREF values as the settings keep them (red in the
// low byte, then green, then blue).

#include <QPushButton>

#include <cstdint>

namespace vistrel {

class CColorPicker : public QPushButton {
    Q_OBJECT
public:
    explicit CColorPicker(QWidget* parent = nullptr);

    void SetColor(uint32_t colorRef);
    uint32_t GetColor() const { return m_color; }

signals:
    void colorChanged(uint32_t colorRef);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Choose();

    uint32_t m_color = 0;
};

QColor ColorFromRef(uint32_t colorRef);
uint32_t RefFromColor(const QColor& color);

} // namespace vistrel
