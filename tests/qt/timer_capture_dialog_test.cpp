#include "capture/timer_capture_dialog.h"
#include "qt_test_support.h"
#include "settings/env.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace vistrel;
using namespace std::chrono_literals;
using vistrel::test::AcceptingMessageBoxes;

namespace {

template <typename T> T* Control(QWidget& dialog, int id)
{
    auto* widget = dialog.findChild<T*>(QString("id%1").arg(id));
    EXPECT_NE(widget, nullptr) << id;
    return widget;
}

void Type(QWidget& dialog, int id, const char* text) { Control<QLineEdit>(dialog, id)->setText(text); }

} // namespace

TEST(TimerCaptureDialog, StartsWithTheScreenAndTheStopKey)
{
    CEnv env;
    env.m_hkTimer = {MOD_CONTROL | MOD_SHIFT, 0x54};
    CTimerCaptureDlg dialog(env, 1024, 700);
    EXPECT_EQ(dialog.windowTitle(), "Timer Capture");
    EXPECT_EQ(Control<QLineEdit>(dialog, 1084)->text(), "5");
    EXPECT_EQ(Control<QLineEdit>(dialog, 1086)->text(), "1024");
    EXPECT_EQ(Control<QLineEdit>(dialog, 1087)->text(), "700");
    EXPECT_TRUE(Control<QRadioButton>(dialog, 1088)->isChecked());
    EXPECT_FALSE(Control<QCheckBox>(dialog, 1096)->isChecked());
    EXPECT_TRUE(Control<QCheckBox>(dialog, 1097)->isChecked());
    for (int id : {1086, 1087, 1094, 1095, 1090, 1091, 1092, 1093, 1014})
        EXPECT_FALSE(dialog.findChild<QWidget*>(QString("id%1").arg(id))->isEnabled()) << id;
    auto* hint = Control<QLabel>(dialog, 1173);
    EXPECT_EQ(hint->text(), "Press Ctrl+Shift+T to stop capture");
    EXPECT_EQ(hint->font().weight(), QFont::Black);

    Control<QRadioButton>(dialog, 1089)->setChecked(true);
    for (int id : {1086, 1087, 1094, 1095, 1014})
        EXPECT_TRUE(dialog.findChild<QWidget*>(QString("id%1").arg(id))->isEnabled()) << id;
}

TEST(TimerCaptureDialog, FullScreenTakesTheScreenWhateverTheRegionFieldsHold)
{
    CEnv env;
    CTimerCaptureDlg dialog(env, 1024, 700);
    Control<QRadioButton>(dialog, 1089)->setChecked(true);
    Type(dialog, 1094, "not a number");
    Control<QRadioButton>(dialog, 1088)->setChecked(true);
    Type(dialog, 1084, "2");
    Control<QCheckBox>(dialog, 1096)->setChecked(true);
    EXPECT_EQ(AcceptingMessageBoxes([&] { dialog.accept(); }), "");
    ASSERT_TRUE(dialog.plan());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.plan()->width, 1024);
    EXPECT_EQ(dialog.plan()->height, 700);
    EXPECT_EQ(dialog.plan()->x, 0);
    EXPECT_EQ(dialog.plan()->interval, 2000ms);
    EXPECT_TRUE(dialog.plan()->showMouse);
    EXPECT_TRUE(dialog.plan()->hideProgram);
}

TEST(TimerCaptureDialog, RegionAsTyped)
{
    CEnv env;
    CTimerCaptureDlg dialog(env, 1024, 700);
    Control<QRadioButton>(dialog, 1089)->setChecked(true);
    Type(dialog, 1084, "1");
    Type(dialog, 1094, "100");
    Type(dialog, 1095, "50");
    Type(dialog, 1086, "200");
    Type(dialog, 1087, " 150 ");
    Control<QCheckBox>(dialog, 1097)->setChecked(false);
    dialog.accept();
    ASSERT_TRUE(dialog.plan());
    EXPECT_EQ(dialog.plan()->x, 100);
    EXPECT_EQ(dialog.plan()->y, 50);
    EXPECT_EQ(dialog.plan()->width, 200);
    EXPECT_EQ(dialog.plan()->height, 150);
    EXPECT_EQ(dialog.plan()->interval, 1000ms);
    EXPECT_FALSE(dialog.plan()->hideProgram);
}

TEST(TimerCaptureDialog, RefusesWhatTheTimerCannotRunAndStaysOpen)
{
    CEnv env;
    CTimerCaptureDlg dialog(env, 1024, 700);
    dialog.show();
    Control<QRadioButton>(dialog, 1089)->setChecked(true);
    const std::pair<int, const char*> cases[] = {
        {1084, "1.5"}, {1084, "0"}, {1084, "-1"}, {1086, "0"}, {1087, "-5"}, {1094, "1024"}, {1095, "x"},
    };
    for (const auto& [id, text] : cases) {
        Type(dialog, 1084, "1");
        Type(dialog, 1094, "100");
        Type(dialog, 1095, "50");
        Type(dialog, 1086, "200");
        Type(dialog, 1087, "150");
        Type(dialog, id, text);
        const QString message = AcceptingMessageBoxes([&] { dialog.accept(); });
        EXPECT_FALSE(message.isEmpty()) << id << " " << text;
        EXPECT_FALSE(dialog.plan()) << id << " " << text;
        EXPECT_TRUE(dialog.isVisible()) << id << " " << text;
    }
    Type(dialog, 1095, "50");
    Type(dialog, 1094, "1023"); // one column still on the screen
    EXPECT_EQ(AcceptingMessageBoxes([&] { dialog.accept(); }), "");
    EXPECT_TRUE(dialog.plan());
}

TEST(TimerCaptureDialog, TranslatedTheStopKeyAndTheRefusalsFollowTheLanguageFile)
{
    CEnv env;
    env.m_hkTimer = {MOD_CONTROL | MOD_SHIFT, 0x54};
    g_strLanguageFile = VISTREL_LANGUAGE_DIR "/vstlchs.ini";
    CTimerCaptureDlg dialog(env, 1024, 700);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("定时截图"));
    EXPECT_EQ(Control<QLabel>(dialog, 1173)->text(), QString::fromUtf8("按 Ctrl+Shift+T 停止截图"));
    dialog.show();
    Type(dialog, 1084, "0");
    const QString message = AcceptingMessageBoxes([&] { dialog.accept(); });
    g_strLanguageFile.clear();
    EXPECT_EQ(message, QString::fromUtf8("间隔必须在 1 到 86400 秒之间。"));
    EXPECT_FALSE(dialog.plan());
}
