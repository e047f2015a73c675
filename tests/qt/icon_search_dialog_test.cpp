#include "base/path_names.h"
#include "icons/core/icon_naming.h"
#include "icons/core/icon_resource.h"
#include "icons/icon_search_dialog.h"
#include "icons/icon_search_task.h"
#include "icons/icons_dialog.h"
#include "library/core/capture_lists.h"
#include "library/model/capture_library.h"
#include "settings/env.h"

#include "../unit/pe_fixture.h"
#include "../unit/temp_home.h"
#include "qt_test_support.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

#include <QFileInfo>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

using namespace vistrel;
using namespace vistrel::test;

namespace {

class HotkeyLog : public HotkeyRegistrar {
public:
    bool Register(int id, HotkeySetting) override
    {
        registered.insert(id);
        return true;
    }
    void Unregister(int id) override { registered.erase(id); unregisterCalls++; }
    std::set<int> registered;
    int unregisterCalls = 0;
};

Bytes IcoFile(uint8_t seed)
{
    IconResource icon;
    icon.images.push_back(*MakeIconImage(DibIconImage(16, 4, seed)));
    return *IcoFileBytes(icon);
}

std::set<std::string> FilesIn(const std::string& folder)
{
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        names.insert(entry.path().filename().string());
    return names;
}

class IconSearchDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_savedIconPath = theEnv.m_strIconPath;
        theEnv.m_strIconPath = home.file("icons");
        theEnv.SetHotkeyRegistrar(&hotkeys);
        g_captureLists.icons.clear();
        QObject::connect(&library, &CaptureLibrary::listChanged, [this] { ++listChanges; });
    }
    void TearDown() override
    {
        theEnv.SetHotkeyRegistrar(nullptr);
        theEnv.m_strIconPath = m_savedIconPath;
        g_captureLists.icons.clear();
        g_strLanguageFile.clear();
    }

    // Opens the dialog in folder mode on this folder.
    std::unique_ptr<CIconSearchDlg> FolderDialog(const std::string& folder)
    {
        auto dialog = std::make_unique<CIconSearchDlg>(nullptr, library);
        Radio(*dialog, 1050).setChecked(true);
        Edit(*dialog, 1004).setText(QString::fromStdString(folder));
        return dialog;
    }
    static QLineEdit& Edit(CIconSearchDlg& d, int id) { return *qobject_cast<QLineEdit*>(d.Control(id)); }
    static QCheckBox& Check(CIconSearchDlg& d, int id) { return *qobject_cast<QCheckBox*>(d.Control(id)); }
    static QRadioButton& Radio(CIconSearchDlg& d, int id) { return *qobject_cast<QRadioButton*>(d.Control(id)); }
    static QPushButton& Button(CIconSearchDlg& d, int id) { return *qobject_cast<QPushButton*>(d.Control(id)); }
    static bool Idle(CIconSearchDlg& d) { return Button(d, 1).isEnabled() && Button(d, 1).text() == "&Search"; }

    // Many small .ico files, so that a search takes a while.
    std::string BigTree(int folders, int filesPerFolder)
    {
        const std::string root = home.file("big");
        const Bytes ico = IcoFile(3);
        for (int f = 0; f < folders; ++f) {
            const std::string folder = root + "/f" + std::to_string(f);
            std::filesystem::create_directories(folder);
            for (int i = 0; i < filesPerFolder; ++i)
                WriteFile(folder + "/i" + std::to_string(f) + "_" + std::to_string(i) + ".ico", ico);
        }
        return root;
    }

    TempHome home;
    HotkeyLog hotkeys;
    CaptureLibrary library {g_captureLists};
    int listChanges = 0;
    std::string m_savedIconPath;
};

} // namespace

TEST_F(IconSearchDialogTest, OpensInFileModeWithTheHotkeysLetGoUntilItCloses)
{
    theEnv.RegisterHotkeys(false);
    ASSERT_EQ(hotkeys.registered.size(), 8u);
    {
        CIconSearchDlg dialog(nullptr, library);
        EXPECT_TRUE(hotkeys.registered.empty()); // HOTKEY_AVI too
        EXPECT_EQ(dialog.windowTitle(), "Icon Capture&Search");
        EXPECT_TRUE(Radio(dialog, 1049).isChecked());
        EXPECT_TRUE(Edit(dialog, 1069).isEnabled());
        EXPECT_TRUE(dialog.Control(1014)->isEnabled());
        for (int id : {1004, 1005, 1009, 1010, 1012, 1006, 1007, 1008, 1071, 1072, 1073})
            EXPECT_FALSE(dialog.Control(id)->isEnabled()) << id;
        EXPECT_EQ(Edit(dialog, 1004).text(), "/");
        EXPECT_TRUE(Check(dialog, 1006).isChecked());
        EXPECT_TRUE(Check(dialog, 1012).isChecked());
        EXPECT_FALSE(Check(dialog, 1007).isChecked());
        EXPECT_FALSE(Check(dialog, 1008).isChecked());

        Radio(dialog, 1050).setChecked(true);
        EXPECT_FALSE(Edit(dialog, 1069).isEnabled());
        for (int id : {1004, 1005, 1009, 1010, 1012, 1006, 1007, 1008, 1071, 1072, 1073})
            EXPECT_TRUE(dialog.Control(id)->isEnabled()) << id;
    }
    EXPECT_EQ(hotkeys.registered.size(), 8u);
}

TEST_F(IconSearchDialogTest, FolderSearchWritesCountsAndListsEveryIconFound)
{
    const std::string root = home.file("tree");
    std::filesystem::create_directories(root + "/sub/deeper");
    std::filesystem::create_directories(root + "/x.dll");
    WriteFile(root + "/a.ico", IcoFile(1));
    WriteFile(root + "/sub/b.ico", IcoFile(2));
    WriteFile(root + "/sub/deeper/a.ico", IcoFile(4)); // another a.ico: kept as a_001.ico
    WriteFile(root + "/sub/broken.ico", Bytes(40, 7));
    WriteFile(root + "/notes.txt", Bytes(40, 'x'));
    WriteFile(root + "/x.dll/Tools.DLL",
              SimpleFixture({Numbered(1), Numbered(2), Named(u"MAIN")}, {{16, 4}, {32, 8}}, false).bytes);
    WriteFile(root + "/sub/app.exe", SimpleFixture({Numbered(5)}, {{32, 32}}, true).bytes);
    WriteFile(root + "/sub/empty.exe", BuildPeFixture({DibIconImage(16, 4)}, {}, false).bytes);

    auto dialog = FolderDialog(root);
    Check(*dialog, 1007).setChecked(true);
    Check(*dialog, 1008).setChecked(true);
    dialog->OnSearch();
    EXPECT_EQ(Button(*dialog, 1).text(), "&Stop");
    for (int id : {1049, 1050, 1006, 1007, 1008, 1012, 1010, 1071, 1072, 1073})
        EXPECT_FALSE(dialog->Control(id)->isEnabled()) << id;
    ASSERT_TRUE(WaitFor([&] { return Idle(*dialog); }));
    for (int id : {1049, 1050, 1006, 1007, 1008, 1012, 1010, 1071, 1072, 1073})
        EXPECT_TRUE(dialog->Control(id)->isEnabled()) << id;

    const std::set<std::string> expected = {"a.ico", "a_001.ico", "b.ico", "Tools001.ico", "Tools002.ico",
                                            "Tools003.ico", "app001.ico"};
    EXPECT_EQ(FilesIn(theEnv.m_strIconPath), expected);
    EXPECT_EQ(Edit(*dialog, 1009).text(), "Icon Files: 7");
    std::set<std::string> listed;
    for (const auto& path : g_captureLists.icons)
        listed.emplace(FileNameOfPath(path));
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(g_captureLists.icons.size(), 7u);
    EXPECT_GE(listChanges, 1);
    // The current file is one of the handled ones, its path as it is.
    const QString current = Edit(*dialog, 1005).text();
    EXPECT_TRUE(current.startsWith(QString::fromStdString(root))) << current.toStdString();
    EXPECT_TRUE(QFileInfo::exists(current)) << current.toStdString();

    // The count goes on across searches of one opening; icons there already are not written again.
    WriteFile(root + "/sub/c.ico", IcoFile(5));
    dialog->OnSearch();
    ASSERT_TRUE(WaitFor([&] { return Idle(*dialog); }));
    EXPECT_EQ(Edit(*dialog, 1009).text(), "Icon Files: 8");
    EXPECT_EQ(g_captureLists.icons.size(), 8u);
    dialog.reset();

    // A new opening counts from 0 again.
    dialog = FolderDialog(root + "/sub");
    WriteFile(root + "/sub/d.ico", IcoFile(6));
    dialog->OnSearch();
    ASSERT_TRUE(WaitFor([&] { return Idle(*dialog); }));
    EXPECT_EQ(Edit(*dialog, 1009).text(), "Icon Files: 1");
}

TEST_F(IconSearchDialogTest, AMissingFolderIsSaidAndNothingStarts)
{
    auto dialog = FolderDialog(home.file("nowhere"));
    QString shown;
    AnswerNextModal([&](QWidget& modal) {
        if (auto* box = qobject_cast<QMessageBox*>(&modal))
            shown = box->text();
        modal.close();
    });
    dialog->OnSearch();
    EXPECT_TRUE(shown.contains(QString::fromStdString(home.file("nowhere")))) << shown.toStdString();
    EXPECT_EQ(Button(*dialog, 1).text(), "&Search");
    EXPECT_TRUE(dialog->Control(1050)->isEnabled());
    EXPECT_FALSE(std::filesystem::exists(theEnv.m_strIconPath));
}

TEST_F(IconSearchDialogTest, StopEndsTheSearchAfterTheFilesInHand)
{
    const int total = 20 * 60;
    auto dialog = FolderDialog(BigTree(20, 60));
    dialog->OnSearch();
    ASSERT_TRUE(WaitFor([&] { return !Edit(*dialog, 1009).text().isEmpty(); }));
    dialog->OnSearch(); // "&Stop"
    EXPECT_EQ(Button(*dialog, 1).text(), "&Search");
    EXPECT_TRUE(dialog->Control(1050)->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return Idle(*dialog); }));
    EXPECT_FALSE(dialog->Task()->IsRunning());
    const size_t written = FilesIn(theEnv.m_strIconPath).size();
    EXPECT_LT(written, size_t(total) / 2);
    EXPECT_EQ(g_captureLists.icons.size(), written);
    EXPECT_EQ(Edit(*dialog, 1009).text(), QString("Icon Files: %1").arg(written));
}

TEST_F(IconSearchDialogTest, ClosingMidSearchReturnsAtOnceAndTheSearchEndsOnItsOwn)
{
    const int total = 20 * 60;
    theEnv.RegisterHotkeys(false);
    auto dialog = FolderDialog(BigTree(20, 60));
    dialog->OnSearch();
    ASSERT_TRUE(WaitFor([&] { return !Edit(*dialog, 1009).text().isEmpty(); }));
    QPointer<IconSearchTask> task = dialog->Task();
    ASSERT_TRUE(task);

    QElapsedTimer clock;
    clock.start();
    dialog.reset();
    EXPECT_LT(clock.elapsed(), 200);
    EXPECT_EQ(hotkeys.registered.size(), 8u);

    // The task ends once its threads have, and has then listed every file written.
    ASSERT_TRUE(WaitFor([&] { return task.isNull(); }));
    const size_t written = FilesIn(theEnv.m_strIconPath).size();
    EXPECT_LT(written, size_t(total) / 2);
    EXPECT_EQ(g_captureLists.icons.size(), written);
    EXPECT_GE(listChanges, 1);
}

TEST_F(IconSearchDialogTest, FileModeOpensTheIconsOfTheChosenFile)
{
    WriteFile(home.file("tools.dll"), SimpleFixture({Numbered(1), Numbered(2)}, {{16, 4}}, false).bytes);
    CIconSearchDlg dialog(nullptr, library);
    Edit(dialog, 1069).setText(QString::fromStdString(home.file("tools.dll")));
    QString title;
    AnswerNextModal([&](QWidget& modal) {
        title = modal.windowTitle();
        modal.close();
    });
    dialog.OnSearch();
    EXPECT_EQ(title, "2 icons in tools.dll");

    Edit(dialog, 1069).setText(QString::fromStdString(home.file("notes.txt")));
    QString message;
    AnswerNextModal([&](QWidget& modal) {
        if (auto* box = qobject_cast<QMessageBox*>(&modal))
            message = box->text();
        modal.close();
    });
    dialog.OnSearch();
    EXPECT_EQ(message.toStdString(), home.file("notes.txt") + " Load file error,it must be win32 file");
    EXPECT_TRUE(g_captureLists.icons.empty());
}

TEST_F(IconSearchDialogTest, TextsComeFromTheLanguageFile)
{
    g_strLanguageFile = VISTREL_LANGUAGE_DIR "/vstlchs.ini";
    std::filesystem::create_directories(home.file("tree"));
    auto dialog = FolderDialog(home.file("tree"));
    EXPECT_EQ(dialog->windowTitle().toStdString(), "图标提取与搜索");
    EXPECT_EQ(Check(*dialog, 1012).text().toStdString(), "同时搜索子文件夹(&A)");
    EXPECT_EQ(Button(*dialog, 1).text().toStdString(), "搜索(&S)");
    dialog->OnSearch();
    EXPECT_EQ(Button(*dialog, 1).text().toStdString(), "停止(&S)");
    ASSERT_TRUE(WaitFor([&] { return Button(*dialog, 1).text().toStdString() == "搜索(&S)"; }));
}
