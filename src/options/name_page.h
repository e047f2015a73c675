#pragma once
// CNamePage ("Save Names"): how new pictures and AVI files are named, one
// group each: by time, or a name, a digit pattern and a start number, with the
// name the next file gets shown as an example. Applying stores the names as
// typed, the patterns cut to their leading '#' run and the numbers as the
// 16-bit counter. User-interface thread only.

#include "options/options_page.h"

#include <cstdint>
#include <string>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace vistrel {

class CNamePage : public COptionsPage {
    Q_OBJECT
public:
    explicit CNamePage(QWidget* parent);

    bool OnApply() override;

private:
    struct NameGroup {
        const char* extension;
        QCheckBox* byTime = nullptr;
        QLineEdit* name = nullptr;
        QLineEdit* pattern = nullptr;
        QSpinBox* number = nullptr;
        QLineEdit* example = nullptr;
        QLabel* labels[4] = {};
    };
    struct Stored { // the settings one group edits
        int32_t& byTime;
        std::string& name;
        std::string& pattern;
        int16_t& number;
    };

    // which: 0 the bitmap group, 1 the AVI group.
    QGroupBox* BuildGroup(NameGroup& group, int which, DialogControls& controls);
    void Connect(NameGroup& group);
    static void UpdateExample(NameGroup& group);
    static void EnableGroup(NameGroup& group);
    static void ApplyGroup(const NameGroup& group, const Stored& stored);
    static Stored Settings(int which);

    NameGroup m_bitmap{".bmp"};
    NameGroup m_avi{".avi"};
};

} // namespace vistrel
