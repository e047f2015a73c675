#pragma once
// COptionsPage: one page of the Options sheet. A page loads its values from
// theEnv when it is built, keeps them in its controls, and writes them back only
// in OnApply (OK or Apply); returning false there refuses, and the sheet stays
// open. User-interface thread only.

#include "ui/dialog_texts.h"

#include <QWidget>

#include <initializer_list>

class QPushButton;

namespace vistrel {

class COptionsPage : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    virtual void OnSetActive() {}
    virtual bool OnKillActive() { return true; }
    virtual bool OnApply() = 0;
    virtual void OnReset() {}
    virtual bool OnQueryCancel() { return true; }

    // The control with this identifier; nullptr when the page has none.
    QWidget* Control(int id) const;

signals:
    // A value was edited that the page has not applied yet.
    void changed();

protected:
    // The page's parts one below the other, the rest of the height left empty.
    void StackParts(std::initializer_list<QWidget*> parts);
    // A "&Default" button at the right, for the row below a group.
    QWidget* DefaultButtonRow(QPushButton*& button);
    // Names the controls and puts the page's texts on them from the language file.
    void RegisterControls(DialogId id, DialogControls controls);

    DialogControls m_controls;
};

} // namespace vistrel
