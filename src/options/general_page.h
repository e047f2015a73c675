#pragma once
// CGeneralPage ("General"): the program's behaviour flags, the capture file
// type and starting at login. Applying writes the flags and the type into
// theEnv and then the autostart entry (written when autorun is on, removed when
// off); an entry that cannot be written is reported, and the page still
// accepts. User-interface thread only.

#include "options/options_page.h"

#include <string>

class QCheckBox;
class QGroupBox;
class QLabel;
class QRadioButton;

namespace vistrel {

class CGeneralPage : public COptionsPage {
    Q_OBJECT
public:
    // program: what the autostart entry runs; autostartPath: where the entry goes.
    CGeneralPage(QWidget* parent, std::string program, std::string autostartPath);

    bool OnApply() override;

private:
    QGroupBox* BuildProgramGroup();
    QGroupBox* BuildTypeGroup();
    QWidget* BuildNote(QLabel*& text);
    void Connect();
    void WriteAutostart();

    std::string m_program;
    std::string m_autostartPath;
    QCheckBox* m_autorun;
    QCheckBox* m_hideSelf;
    QCheckBox* m_magnifier;
    QCheckBox* m_reminder;
    QCheckBox* m_autoSave;
    QRadioButton* m_bitmap;
    QRadioButton* m_jpeg;
    QRadioButton* m_tiff;
    QRadioButton* m_png;
};

} // namespace vistrel
