#pragma once
// CTimerCaptureDlg: asks how a timer capture runs: the interval, the whole
// screen or a region (typed, or chosen on the screen with the shared region
// selection window), the mouse pointer, and whether the program hides. OK
// ("&Capture") checks what was typed with the timer's rules and stays open,
// saying why, when they refuse it; plan() is then what the timer runs.
// User-interface thread only.

#include "capture/core/timer_capture.h"

#include <QDialog>

#include <map>
#include <memory>
#include <optional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace vistrel {

class CEnv;
class CRecordRegionWnd;

class CTimerCaptureDlg : public QDialog {
    Q_OBJECT
public:
    // screenWidth, screenHeight: the screen now, in pixels; the start size of
    // the region and what a full-screen capture takes.
    CTimerCaptureDlg(const CEnv& env, int screenWidth, int screenHeight, QWidget* parent = nullptr);
    ~CTimerCaptureDlg() override;

    void accept() override;
    void done(int result) override; // ends a region selection still running

    // Set once the dialog was accepted.
    const std::optional<TimerPlan>& plan() const { return m_plan; }

private:
    QLineEdit* NumberField(int id, int value);
    void BuildIntervalRow(QVBoxLayout* layout);
    void BuildRegionGroup(QVBoxLayout* layout);
    void BuildOptions(QVBoxLayout* layout);
    void SetRegionControlsEnabled(bool enabled);
    void OnSelectRegion();
    void ShowSettings(const TimerCaptureSettings& settings);
    // nullopt after telling the user which field holds no whole number.
    std::optional<TimerCaptureSettings> ReadFields();
    void Refuse(const QString& text, QWidget* field);

    int m_screenWidth;
    int m_screenHeight;
    std::map<int, QWidget*> m_controls;
    QLineEdit* m_interval = nullptr;
    QLineEdit* m_width = nullptr;
    QLineEdit* m_height = nullptr;
    QLineEdit* m_x = nullptr;
    QLineEdit* m_y = nullptr;
    QCheckBox* m_showMouse = nullptr;
    QCheckBox* m_hideProgram = nullptr;
    QRadioButton* m_fullScreen = nullptr;
    QRadioButton* m_region = nullptr;
    std::unique_ptr<CRecordRegionWnd> m_selector;
    std::optional<TimerPlan> m_plan;
};

} // namespace vistrel
