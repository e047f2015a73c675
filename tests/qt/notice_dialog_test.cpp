#include "capture/notice_dialog.h"
#include "settings/env.h"
#include "ui/color_picker.h"

#include <QCheckBox>
#include <QLabel>

#include <gtest/gtest.h>

using namespace vistrel;

TEST(NoticeDialog, NamesTheObjectKeyAndOnlyATickedBoxEndsTheReminder)
{
    CEnv env;
    env.m_hkObject = {MOD_CONTROL | MOD_SHIFT, 0x70}; // Ctrl+Shift+F1
    {
        CNoticeDlg dialog(env);
        const QString text = dialog.findChild<QLabel*>("noticeText")->text();
        EXPECT_TRUE(text.startsWith("Press Ctrl+Shift+F1 to finish capture\nOR Press Escape")) << text.toStdString();
        EXPECT_EQ(dialog.findChild<QLabel*>("noticeText")->font().weight(), QFont::Black);
        EXPECT_EQ(dialog.windowTitle(), "Notice!!");
        dialog.accept();
        EXPECT_EQ(env.m_bShowReminder, 1);
    }
    {
        CNoticeDlg dialog(env);
        auto* box = dialog.findChild<QCheckBox*>();
        ASSERT_NE(box, nullptr);
        EXPECT_FALSE(box->isChecked());
        box->setChecked(true);
        dialog.reject(); // closing otherwise changes nothing
        EXPECT_EQ(env.m_bShowReminder, 1);
    }
    CNoticeDlg dialog(env);
    dialog.findChild<QCheckBox*>()->setChecked(true);
    dialog.accept();
    EXPECT_EQ(env.m_bShowReminder, 0);
}

TEST(NoticeDialog, TranslatedTheKeyIsNamedWhereTheTranslationPutsIt)
{
    CEnv env;
    env.m_hkObject = {MOD_CONTROL, 0x70}; // Ctrl+F1
    g_strLanguageFile = VISTREL_LANGUAGE_DIR "/vstlchs.ini";
    CNoticeDlg dialog(env);
    g_strLanguageFile.clear();
    EXPECT_EQ(dialog.findChild<QLabel*>("noticeText")->text(), QString::fromUtf8("按 Ctrl+F1 完成截图\n或按 Esc 键取消截图"));
    EXPECT_EQ(dialog.findChild<QCheckBox*>()->text(), QString::fromUtf8("不再显示此提示。"));
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("提示"));
}

TEST(ColorPicker, KeepsColoursAsTheSettingsStoreThem)
{
    CColorPicker picker;
    int changes = 0;
    QObject::connect(&picker, &CColorPicker::colorChanged, [&](uint32_t) { ++changes; });
    picker.SetColor(0x007D7D00); // RGB(0,125,125)
    EXPECT_EQ(picker.GetColor(), 0x007D7D00u);
    EXPECT_EQ(ColorFromRef(picker.GetColor()), QColor(0, 125, 125));
    picker.SetColor(0xFF7D7D00); // only 24 bits of colour
    EXPECT_EQ(picker.GetColor(), 0x007D7D00u);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(RefFromColor(QColor(1, 2, 3)), 0x00030201u);
}
