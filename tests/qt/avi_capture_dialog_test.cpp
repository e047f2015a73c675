#include "library/model/capture_library.h"
#include "record/dialogs/avi_capture_dialog.h"
#include "ui/record_region_window.h"
#include "settings/env.h"
#include "qt_test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

using namespace vistrel;

namespace {

class FakeRegistrar : public HotkeyRegistrar {
public:
    bool Register(int id, HotkeySetting) override
    {
        held.insert(id);
        return true;
    }
    void Unregister(int id) override { held.erase(id); }
    std::set<int> held;
};

// Points the recorder at a display that is not there, so that Start fails
// at once, and answers the message box that follows.
// The dialogs append what they record here.
CaptureLibrary& Library()
{
    static CaptureLibrary library(g_captureLists);
    return library;
}

class NoDisplay {
public:
    NoDisplay()
    {
        if (const char* display = std::getenv("DISPLAY"))
            m_saved = display;
        ::setenv("DISPLAY", ":4711", 1);
    }
    ~NoDisplay()
    {
        if (m_saved)
            ::setenv("DISPLAY", m_saved->c_str(), 1);
        else
            ::unsetenv("DISPLAY");
    }

private:
    std::optional<std::string> m_saved;
};

bool Enabled(const CAviCaptureDlg& dialog, int id) { return dialog.Control(id)->isEnabled(); }

} // namespace

TEST(AviCaptureDialog, OpensWithTheRunsOptionsAndLetsGoOfAllHotkeysButTheAviOne)
{
    FakeRegistrar registrar;
    theEnv.SetHotkeyRegistrar(&registrar);
    theEnv.RegisterHotkeys(false);
    ASSERT_EQ(registrar.held.size(), 8u);
    AviRecordOptions options;
    options.autoPan = 1;
    options.autoPanSpeed = 37;
    options.showFlashingFrame = 0;
    options.playWhenFinished = 5;
    options.regionMode = REGION_FULLSCREEN;
    options.fixedWidth = 640;
    options.fixedHeight = 480;
    options.compressorFourCC = kFourCCMsvc;
    {
        CAviCaptureDlg dialog(nullptr, options, Library());
        EXPECT_EQ(registrar.held, std::set<int>{HOTKEY_AVI});
        EXPECT_EQ(dialog.windowTitle(), "AVI Capture");
        EXPECT_EQ(options.compressorFourCC, kDefaultCompressorFourCC);
        EXPECT_TRUE(static_cast<QCheckBox*>(dialog.Control(1023))->isChecked());
        EXPECT_EQ(static_cast<QSlider*>(dialog.Control(1024))->value(), 37);
        EXPECT_EQ(static_cast<QLabel*>(dialog.Control(1037))->text(), "37");
        EXPECT_TRUE(Enabled(dialog, 1024));
        EXPECT_FALSE(static_cast<QCheckBox*>(dialog.Control(1025))->isChecked());
        EXPECT_TRUE(static_cast<QCheckBox*>(dialog.Control(1026))->isChecked());
        EXPECT_FALSE(static_cast<QCheckBox*>(dialog.Control(1027))->isChecked()); // only 1 means play
        EXPECT_TRUE(static_cast<QRadioButton*>(dialog.Control(1034))->isChecked());
        EXPECT_FALSE(Enabled(dialog, 1031));
        EXPECT_EQ(static_cast<QSpinBox*>(dialog.Control(1031))->value(), 640);
        const QString hint = static_cast<QLabel*>(dialog.Control(1149))->text();
        EXPECT_TRUE(hint.startsWith("Press ") && hint.endsWith(" to stop recording") && !hint.contains("%s"))
            << hint.toStdString();
        EXPECT_TRUE(Enabled(dialog, 1035));
        EXPECT_FALSE(Enabled(dialog, 1036));
        EXPECT_TRUE(Enabled(dialog, 2));

        // The options change at once and stay for the next opening.
        static_cast<QCheckBox*>(dialog.Control(1023))->setChecked(false);
        EXPECT_FALSE(Enabled(dialog, 1024));
        static_cast<QCheckBox*>(dialog.Control(1026))->setChecked(false);
        static_cast<QCheckBox*>(dialog.Control(1027))->setChecked(true);
        static_cast<QRadioButton*>(dialog.Control(1029))->click();
        EXPECT_TRUE(Enabled(dialog, 1031));
        static_cast<QCheckBox*>(dialog.Control(1025))->setChecked(true);
    }
    EXPECT_EQ(registrar.held.size(), 8u);
    EXPECT_EQ(options.autoPan, 0);
    EXPECT_EQ(options.showFlashingFrame, 1);
    EXPECT_EQ(options.playWhenFinished, 1);
    EXPECT_EQ(options.regionMode, REGION_FIXED);
    CAviCaptureDlg again(nullptr, options, Library());
    EXPECT_FALSE(static_cast<QCheckBox*>(again.Control(1025))->isChecked());
    EXPECT_TRUE(static_cast<QRadioButton*>(again.Control(1029))->isChecked());
    theEnv.SetHotkeyRegistrar(nullptr);
}

TEST(AviCaptureDialog, StaysStartedAfterAFailedStartUntilStopAndCannotBeClosedMeanwhile)
{
    NoDisplay noDisplay;
    AviRecordOptions options;
    options.regionMode = REGION_FULLSCREEN;
    CAviCaptureDlg dialog(nullptr, options, Library());
    dialog.show();
    static_cast<QComboBox*>(dialog.Control(1083))->setCurrentIndex(4); // "Low", taken at Start

    const QString message = test::AcceptingMessageBoxes([&] { dialog.OnStart(); });
    EXPECT_TRUE(message.startsWith("Error Creating AVI File")) << message.toStdString();
    EXPECT_EQ(options.runPriority, RunPriority::Low);
    EXPECT_EQ(dialog.phase(), CAviCaptureDlg::Phase::Busy);
    EXPECT_FALSE(Enabled(dialog, 1035));
    EXPECT_TRUE(Enabled(dialog, 1036));
    EXPECT_FALSE(Enabled(dialog, 2));
    EXPECT_EQ(dialog.trayIcon(), nullptr); // nothing records, so nothing to stop from the tray

    dialog.reject(); // Escape: refused while started
    EXPECT_TRUE(dialog.isVisible());

    dialog.OnStop();
    EXPECT_EQ(dialog.phase(), CAviCaptureDlg::Phase::Idle);
    EXPECT_TRUE(Enabled(dialog, 1035));
    EXPECT_FALSE(Enabled(dialog, 1036));
    EXPECT_TRUE(Enabled(dialog, 2));
    EXPECT_TRUE(dialog.lastPath().empty());
    dialog.reject();
    EXPECT_FALSE(dialog.isVisible());
}

TEST(AviCaptureDialog, TheAviHotkeyGoesToTheOpenDialogOnly)
{
    NoDisplay noDisplay;
    EXPECT_FALSE(StopRunningRecording());
    AviRecordOptions options;
    options.regionMode = REGION_FULLSCREEN;
    auto dialog = std::make_unique<CAviCaptureDlg>(nullptr, options, Library());
    test::AcceptingMessageBoxes([&] { dialog->OnStart(); });
    ASSERT_EQ(dialog->phase(), CAviCaptureDlg::Phase::Busy);
    EXPECT_TRUE(StopRunningRecording());
    EXPECT_EQ(dialog->phase(), CAviCaptureDlg::Phase::Idle);
    EXPECT_TRUE(StopRunningRecording()); // open but idle: taken, nothing else happens
    EXPECT_EQ(dialog->phase(), CAviCaptureDlg::Phase::Idle);
    dialog.reset();
    EXPECT_FALSE(StopRunningRecording());
}

TEST(AviCaptureDialog, TheRegionWindowTakesTheStillCapturesGesturesAndSizes)
{
    CRecordRegionWnd window;
    std::vector<std::optional<RecordRegion>> results;
    auto done = [&](std::optional<RecordRegion> r) { results.push_back(r); };
    auto mouse = [&](QEvent::Type type, QPoint at, Qt::MouseButton button) {
        QMouseEvent event(type, QPointF(at), window.mapToGlobal(QPointF(at)), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
        QApplication::sendEvent(&window, &event);
    };
    auto press = [&](QPoint at) { mouse(QEvent::MouseButtonPress, at, Qt::LeftButton); };
    auto release = [&](QPoint at) { mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton); };
    auto move = [&](QPoint to) { mouse(QEvent::MouseMove, to, Qt::LeftButton); };
    auto settle = [&] { QCoreApplication::processEvents(); };
    auto drag = [&](QPoint from, QPoint to) {
        window.BeginCustom(done);
        press(from);
        move(to);
        release(to);
        settle();
    };
    drag({10, 20}, {110, 70});
    drag({110, 70}, {10, 20});
    // A release within 3 pixels is a click: the next click finishes.
    window.BeginCustom(done);
    press({10, 20});
    move({12, 22});
    release({12, 22});
    settle();
    EXPECT_TRUE(window.selecting());
    move({110, 70});
    press({110, 70});
    settle();
    // Two clicks on one point: no area.
    window.BeginCustom(done);
    press({30, 30});
    release({30, 30});
    press({30, 30});
    settle();
    window.BeginCustom(done);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&window, &escape);
    settle();
    ASSERT_EQ(results.size(), 5u);
    // The still overlay's 100 x 50 of the same drag.
    EXPECT_EQ(results[0], (RecordRegion{10, 20, 109, 69}));
    EXPECT_EQ(results[1], results[0]);
    EXPECT_EQ(results[2], results[0]);
    EXPECT_FALSE(results[3]);
    EXPECT_FALSE(results[4]);
    EXPECT_FALSE(window.isVisible());
}

TEST(AviCaptureDialog, TheDialogThatOpensTheRegionWindowStepsAsideUntilTheChoice)
{
    QDialog owner;
    owner.show();
    ASSERT_TRUE(test::WaitFor([&] { return owner.isVisible(); }));
    CRecordRegionWnd window(&owner);
    std::optional<RecordRegion> chosen;
    bool ended = false;
    window.BeginCustom([&](std::optional<RecordRegion> r) {
        chosen = r;
        ended = true;
    });
    EXPECT_FALSE(owner.isVisible());
    ASSERT_TRUE(test::WaitFor([&] { return window.isVisible(); }, 5000));
    EXPECT_FALSE(owner.isVisible());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&window, &escape);
    ASSERT_TRUE(test::WaitFor([&] { return ended; }, 5000));
    EXPECT_FALSE(chosen);
    EXPECT_TRUE(owner.isVisible());
    EXPECT_FALSE(window.isVisible());

    // Ended while it waits for the dialog to go: it never shows.
    ended = false;
    window.BeginCustom([&](std::optional<RecordRegion>) { ended = true; });
    window.Cancel();
    ASSERT_TRUE(test::WaitFor([&] { return ended; }, 5000));
    test::WaitFor([] { return false; }, 300);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(owner.isVisible());
}
