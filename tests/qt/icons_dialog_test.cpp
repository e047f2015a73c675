#include "base/path_names.h"
#include "icons/core/icon_naming.h"
#include "icons/icon_clipboard.h"
#include "icons/icons_dialog.h"
#include "settings/env.h"
#include "ui/file_filter.h"

#include "../unit/pe_fixture.h"
#include "../unit/temp_home.h"
#include "qt_test_support.h"

#include <QClipboard>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

using namespace vistrel;
using namespace vistrel::test;

namespace {

// tools.dll: APPICON (a 256-pixel PNG), 1 (16, 32 and 48 pixels), 2 (only 16
// pixels), 7 (an image that is not one), 12 (32 pixels at two depths).
Bytes ToolsModule()
{
    const std::vector<Bytes> icons = {
        DibIconImage(16, 4), DibIconImage(32, 8), DibIconImage(48, 32), // 1..3
        DibIconImage(16, 4, 9),                                          // 4
        PngIconImage(256),                                               // 5
        Bytes(64, 0x11),                                                 // 6
        DibIconImage(32, 4), DibIconImage(32, 32),                       // 7, 8
    };
    return BuildPeFixture(icons,
                          {{Numbered(1), {1, 2, 3}},
                           {Numbered(2), {4}},
                           {Named(u"APPICON"), {5}},
                           {Numbered(7), {6}},
                           {Numbered(12), {7, 8}}},
                          false)
        .bytes;
}

std::vector<std::string> Labels(const QListWidget& list)
{
    std::vector<std::string> labels;
    for (int i = 0; i < list.count(); ++i)
        labels.push_back(list.item(i)->text().toStdString());
    return labels;
}

// The side of the one picture an item shows; 0 without one.
int PictureSide(const QListWidgetItem& item)
{
    const auto sizes = item.icon().availableSizes();
    return sizes.size() == 1 && sizes[0].width() == sizes[0].height() ? sizes[0].width() : 0;
}

class IconsDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_savedIconPath = theEnv.m_strIconPath;
        theEnv.m_strIconPath = home.file("icons");
        module = home.file("tools.dll");
        WriteFile(module, ToolsModule());
    }
    void TearDown() override
    {
        theEnv.m_strIconPath = m_savedIconPath;
        g_strLanguageFile.clear();
    }

    TempHome home;
    std::string module;
    std::string m_savedIconPath;
};

} // namespace

TEST_F(IconsDialogTest, ListsEveryGroupByLabelWithItsBestFittingPicture)
{
    CIconsDlg dialog;
    dialog.SetFile(module);
    ASSERT_EQ(dialog.LoadFile(), "");
    QListWidget& list = *dialog.List();
    EXPECT_EQ(Labels(list),
              (std::vector<std::string> {"Icon [APPICON]", "Icon [1]", "Icon [2]", "Icon [7]", "Icon [12]"}));
    EXPECT_EQ(dialog.windowTitle(), "5 icons in tools.dll");
    EXPECT_EQ(list.viewMode(), QListView::IconMode);
    EXPECT_EQ(list.selectionMode(), QAbstractItemView::SingleSelection);

    const int side = dialog.style()->pixelMetric(QStyle::PM_LargeIconSize, nullptr, &dialog);
    ASSERT_EQ(side, 32) << "the pictures below are chosen for 32 pixels";
    EXPECT_EQ(PictureSide(*list.item(0)), 256); // the only image, shown scaled down
    EXPECT_EQ(PictureSide(*list.item(1)), 32);  // the display's size of three
    EXPECT_EQ(PictureSide(*list.item(2)), 16);  // never enlarged
    EXPECT_EQ(PictureSide(*list.item(3)), 0);   // unreadable: no picture, and no other group's
    EXPECT_EQ(PictureSide(*list.item(4)), 32);
    // Of the two 32-pixel images of group 12, the 32-bit one: its alpha is its own.
    const QImage shown = list.item(4)->icon().pixmap(32).toImage().convertToFormat(QImage::Format_ARGB32);
    const Bytes deep = DibIconImage(32, 32);
    EXPECT_EQ(qAlpha(shown.pixel(0, 31)), deep[40 + 3]); // the first stored row is the bottom one

    // Save and To Clipboard follow the selection.
    auto* save = dialog.findChildren<QPushButton*>()[0];
    ASSERT_EQ(save->text(), "&Save");
    EXPECT_FALSE(save->isEnabled());
    list.item(2)->setSelected(true);
    EXPECT_TRUE(save->isEnabled());
    list.clearSelection();
    EXPECT_FALSE(save->isEnabled());
}

TEST_F(IconsDialogTest, FilesThatCannotBeShownGetTheirMessages)
{
    CIconsDlg dialog;
    const std::string text = home.file("readme.txt");
    WriteFile(text, Bytes(300, 'a'));
    dialog.SetFile(text);
    EXPECT_EQ(dialog.LoadFile(), text + " Load file error,it must be win32 file");
    dialog.SetFile(home.file("missing.exe"));
    EXPECT_EQ(dialog.LoadFile(), home.file("missing.exe") + " Load file error,it must be win32 file");

    const std::string bare = home.file("bare.exe");
    WriteFile(bare, BuildPeFixture({DibIconImage(16, 4)}, {}, true).bytes);
    dialog.SetFile(bare);
    EXPECT_EQ(dialog.LoadFile(), "There is no icon in file " + bare);
    EXPECT_EQ(dialog.List()->count(), 0);

    // exec shows the message instead of the dialog and reports Rejected.
    QString shown;
    AnswerNextModal([&](QWidget& modal) {
        auto* box = qobject_cast<QMessageBox*>(&modal);
        ASSERT_NE(box, nullptr);
        shown = box->windowTitle() + "|" + box->text();
        box->accept();
    });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(shown.toStdString(), "Error|There is no icon in file " + bare);
}

TEST_F(IconsDialogTest, SaveAllNamesTheFilesAfterTheModuleAndNeverReplacesOne)
{
    CIconsDlg dialog;
    dialog.SetFile(module);
    ASSERT_EQ(dialog.LoadFile(), "");
    const std::string folder = home.file("out");
    std::filesystem::create_directory(folder);
    WriteFile(folder + "/tools2.ico", Bytes {'k', 'e', 'e', 'p'});

    auto outcomes = dialog.SaveAllTo(folder);
    std::map<std::string, IconSaveOutcome::Result> results;
    for (const auto& outcome : outcomes)
        results[std::string(FileNameOfPath(outcome.path))] = outcome.result;
    EXPECT_EQ(results, (std::map<std::string, IconSaveOutcome::Result> {
                           {"toolsAPPCON.ico", IconSaveOutcome::Written},
                           {"tools1.ico", IconSaveOutcome::Written},
                           {"tools2.ico", IconSaveOutcome::Exists},
                           {"tools7.ico", IconSaveOutcome::Unreadable},
                           {"tools12.ico", IconSaveOutcome::Written},
                       }));
    EXPECT_EQ(ReadBytes(folder + "/tools2.ico"), (std::vector<uint8_t> {'k', 'e', 'e', 'p'}));
    EXPECT_FALSE(std::filesystem::exists(folder + "/tools7.ico"));
    // What was written is the group, whole.
    const auto saved = ReadIconFromIcoFile(folder + "/tools1.ico");
    ASSERT_TRUE(saved);
    ASSERT_EQ(saved->images.size(), 3u);
    Bytes expected = DibIconImage(48, 32);
    Put32(expected, 20, 0); // the file's image-size field
    EXPECT_EQ(saved->images[2].data, expected);
    const auto before = ReadBytes(folder + "/tools1.ico");

    // Again: every name is taken now, and every file stays as it was.
    for (const auto& outcome : dialog.SaveAllTo(folder))
        EXPECT_NE(outcome.result, IconSaveOutcome::Written) << outcome.path;
    EXPECT_EQ(ReadBytes(folder + "/tools1.ico"), before);
    EXPECT_EQ(ReadBytes(folder + "/tools2.ico"), (std::vector<uint8_t> {'k', 'e', 'e', 'p'}));

    // A folder that cannot be written to: failures, nothing left behind.
    for (const auto& outcome : dialog.SaveAllTo(home.file("no/such/folder")))
        EXPECT_TRUE(outcome.result == IconSaveOutcome::Failed || outcome.result == IconSaveOutcome::Unreadable);
    EXPECT_FALSE(std::filesystem::exists(home.file("no")));
}

TEST_F(IconsDialogTest, SaveWritesTheSelectedGroupAddingIcoOnlyWhenThePathLacksIt)
{
    CIconsDlg dialog;
    dialog.SetFile(module);
    ASSERT_EQ(dialog.LoadFile(), "");
    EXPECT_FALSE(dialog.SaveSelectedTo(home.file("none")));
    dialog.List()->item(4)->setSelected(true); // group 12

    auto outcome = dialog.SaveSelectedTo(home.file("twelve"));
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->result, IconSaveOutcome::Written);
    EXPECT_EQ(outcome->path, home.file("twelve.ico"));
    const auto saved = ReadIconFromIcoFile(home.file("twelve.ico"));
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->images.size(), 2u);

    // ".ico" anywhere in the path, a folder's name too, counts; case matters.
    std::filesystem::create_directory(home.file("my.icons"));
    outcome = dialog.SaveSelectedTo(home.file("my.icons/plain"));
    EXPECT_EQ(outcome->path, home.file("my.icons/plain"));
    EXPECT_EQ(outcome->result, IconSaveOutcome::Written);
    outcome = dialog.SaveSelectedTo(home.file("UPPER.ICO"));
    EXPECT_EQ(outcome->path, home.file("UPPER.ICO.ico"));

    // A taken name is refused and the file kept.
    outcome = dialog.SaveSelectedTo(home.file("twelve.ico"));
    EXPECT_EQ(outcome->result, IconSaveOutcome::Exists);
    WriteFile(home.file("other.ico"), Bytes {1, 2, 3});
    EXPECT_EQ(dialog.SaveSelectedTo(home.file("other"))->result, IconSaveOutcome::Exists);
    EXPECT_EQ(ReadBytes(home.file("other.ico")), (std::vector<uint8_t> {1, 2, 3}));

    dialog.List()->item(3)->setSelected(true); // the unreadable group
    EXPECT_EQ(dialog.SaveSelectedTo(home.file("seven"))->result, IconSaveOutcome::Unreadable);
    EXPECT_FALSE(std::filesystem::exists(home.file("seven.ico")));
}

TEST_F(IconsDialogTest, TranslatedButtonsAndTitle)
{
    g_strLanguageFile = VISTREL_LANGUAGE_DIR "/vstlchs.ini";
    CIconsDlg dialog;
    dialog.SetFile(module);
    ASSERT_EQ(dialog.LoadFile(), "");
    EXPECT_EQ(dialog.windowTitle().toStdString(), "tools.dll 中的 5 个图标");
    std::vector<std::string> buttons;
    for (auto* button : dialog.findChildren<QPushButton*>())
        buttons.push_back(button->text().toStdString());
    EXPECT_EQ(buttons,
              (std::vector<std::string> {"保存(&S)", "全部保存(&A)", "复制到剪贴板(&T)", "关闭"}));
    // The labels name groups and files: they stay as they are.
    EXPECT_EQ(dialog.List()->item(1)->text(), "Icon [1]");

    EXPECT_EQ(IconsDialogTitle("%d icons in %s", 3, "a.dll"), "3 icons in a.dll");
    EXPECT_EQ(IconsDialogTitle("%s: %d%% %d %s %x", 3, "a.dll"), "a.dll: 3%% %d %s %x");
    EXPECT_EQ(IconsDialogTitle("%", 3, "a.dll"), "%");
}

TEST(IconClipboard, PutsThePictureWithTheMaskAsTransparency)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    // 4 bits: colours from the palette, the mask's set bits transparent.
    const Bytes dib = DibIconImage(16, 4, 5);
    ASSERT_TRUE(CopyIconImageToClipboard(*MakeIconImage(dib)));
    QImage image = clipboard->image().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(16, 16));
    const size_t colours = 40 + 64, mask = colours + 16 * 8;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const int row = 15 - y; // stored bottom up
            const uint8_t pair = dib[colours + size_t(row * 8 + x / 2)];
            const int index = x % 2 == 0 ? pair >> 4 : pair & 15;
            const bool transparent = dib[mask + size_t(row * 4 + x / 8)] & (0x80 >> (x % 8));
            const QRgb pixel = image.pixel(x, y);
            ASSERT_EQ(qAlpha(pixel), transparent ? 0 : 255) << x << "," << y;
            if (!transparent) {
                ASSERT_EQ(qBlue(pixel), dib[40 + size_t(index) * 4]) << x << "," << y;
                ASSERT_EQ(qGreen(pixel), dib[40 + size_t(index) * 4 + 1]);
                ASSERT_EQ(qRed(pixel), dib[40 + size_t(index) * 4 + 2]);
            }
        }

    // A PNG image is decoded with its own alpha.
    ASSERT_TRUE(CopyIconImageToClipboard(*MakeIconImage(PngIconImage(8))));
    image = clipboard->image().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(8, 8));
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(qAlpha(image.pixel(x, 3)), x * 255 / 8);

    // Nothing to show: false, and the clipboard keeps what it had.
    EXPECT_FALSE(CopyIconImageToClipboard(IconImage {}));
    IconImage broken = *MakeIconImage(DibIconImage(16, 4));
    broken.data.resize(60); // header and part of the palette
    EXPECT_FALSE(CopyIconImageToClipboard(broken));
    EXPECT_EQ(clipboard->image().size(), QSize(8, 8));
}

TEST_F(IconsDialogTest, ToClipboardTakesTheGroupsFirstImage)
{
    CIconsDlg dialog;
    dialog.SetFile(module);
    ASSERT_EQ(dialog.LoadFile(), "");
    EXPECT_FALSE(dialog.CopySelectedToClipboard());
    dialog.List()->item(1)->setSelected(true); // group 1: 16, 32, 48
    ASSERT_TRUE(dialog.CopySelectedToClipboard());
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(16, 16));
    dialog.List()->item(0)->setSelected(true);
    ASSERT_TRUE(dialog.CopySelectedToClipboard());
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(256, 256));
    dialog.List()->item(3)->setSelected(true);
    EXPECT_FALSE(dialog.CopySelectedToClipboard());
}

TEST(FileFilter, TurnsBarListsIntoQtFilters)
{
    EXPECT_EQ(QtFileFilter("Icon file(*.ico)|*.ico||"), "Icon file(*.ico)");
    EXPECT_EQ(QtFileFilter("Exe and Dll files|*.exe;*.dll||"), "Exe and Dll files (*.exe *.dll)");
    EXPECT_EQ(QtFileFilter("A|*.a|B|*.b; *.c||ignored|*.x"), "A (*.a);;B (*.b *.c)");
    EXPECT_EQ(QtFileFilter("|*.a|No patterns||"), "(*.a)");
    EXPECT_EQ(QtFileFilter(""), "");
}
