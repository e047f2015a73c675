#pragma once
// CColorPage ("Colors"): the background of shaped captures and of the picture
// viewer. "&Default" puts the default colours on the buttons; like every
// change it reaches theEnv when the sheet applies. User-interface thread only.

#include "options/options_page.h"

class QGroupBox;

namespace vistrel {

class CColorPicker;

class CColorPage : public COptionsPage {
    Q_OBJECT
public:
    explicit CColorPage(QWidget* parent);

    bool OnApply() override;

private:
    QGroupBox* BuildColorGroup(DialogControls& controls);
    void Connect();
    void OnDefault();

    CColorPicker* m_bitmapBack = nullptr;
    CColorPicker* m_previewBack = nullptr;
};

} // namespace vistrel
