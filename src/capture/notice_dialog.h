#pragma once
// CNoticeDlg: the reminder shown before a window capture, naming the key that
// finishes it. OK with "Don't show me this message again." ticked turns the
// reminder off in the settings.

#include <QDialog>

class QCheckBox;
class QLabel;

namespace vistrel {

class CEnv;

class CNoticeDlg : public QDialog {
    Q_OBJECT
public:
    CNoticeDlg(CEnv& env, QWidget* parent = nullptr);
    void accept() override;

private:
    CEnv& m_env;
    QLabel* m_text;
    QCheckBox* m_dontShow;
};

} // namespace vistrel
