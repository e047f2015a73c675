// The captured-file list over the capture library: its rows, the delete,
// rename, copy and Save As commands, and the View button's cycle, with the
// files on disk checked after each.

#include "codec/image.h"
#include "commands/command_ids.h"
#include "library/capture_list_ctrl.h"
#include "library/capture_list_model.h"
#include "library/model/capture_library.h"
#include "qt_test_support.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLocale>
#include <QMessageBox>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

using namespace vistrel;
using namespace vistrel::test;

namespace {

bool Exists(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

uint32_t Colour(int i) { return MakeArgb(uint8_t(40 * i), uint8_t(200 - 30 * i), uint8_t(17 * i)); }

struct Library {
    QTemporaryDir dir;
    CaptureLists lists;
    CaptureLibrary library {lists};
    CCaptureListCtrl list {library};

    std::string file(const std::string& name) const
    {
        return (dir.path() + "/" + QString::fromStdString(name)).toStdString();
    }

    // n icon files of one colour each, shown in the icon folder.
    void AddIcons(int n)
    {
        list.ShowFolder(FOLDER_ICONS);
        for (int i = 1; i <= n; ++i) {
            const std::string path = file("icon" + std::to_string(i) + ".ico");
            ASSERT_TRUE(CImage(Bitmap(16, 16, Colour(i)), 32).Save(path.c_str(), IMAGE_TYPE_ICO));
            library.Append(FOLDER_ICONS, path);
        }
    }
    void AddPicture(const std::string& name, int colour = 1)
    {
        const std::string path = file(name);
        ASSERT_TRUE(CImage(Bitmap(20, 10, Colour(colour)), 24).Save(path.c_str(), IMAGE_TYPE_BMP));
        library.Append(FOLDER_BITMAPS, path);
    }
    void Select(std::initializer_list<int> rows)
    {
        list.currentView()->clearSelection();
        for (int row : rows)
            list.currentView()->selectionModel()->select(list.model().index(row, 0),
                                                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    QString Text(int row, int column) const { return list.model().index(row, column).data().toString(); }
    // The colour in the middle of the row's picture.
    uint32_t PictureColour(int row) const
    {
        const auto icon = list.model().index(row, 0).data(Qt::DecorationRole).value<QIcon>();
        return icon.pixmap(16, 16).toImage().pixel(8, 8);
    }
};

void AnswerBox(QMessageBox::StandardButton button)
{
    AnswerNextModal([button](QWidget& modal) {
        auto* box = qobject_cast<QMessageBox*>(&modal);
        ASSERT_TRUE(box);
        EXPECT_EQ(box->objectName(), "confirmDelete");
        box->done(button);
    });
}

// The Save As dialog answers with the filter at index filter and the name typed.
void AnswerSaveAs(int filter, const std::string& typed)
{
    AnswerNextModal([filter, typed](QWidget& modal) {
        auto* dialog = qobject_cast<QFileDialog*>(&modal);
        ASSERT_TRUE(dialog);
        dialog->selectNameFilter(dialog->nameFilters().at(filter));
        dialog->selectFile(QString::fromStdString(typed));
        static_cast<QDialog*>(dialog)->accept();
    });
}

} // namespace

TEST(CaptureList, RowsShowNameFolderSizeAndNothingForAFileThatIsGone)
{
    Library t;
    for (auto [name, size] :
         {std::pair("small.bmp", 1023), std::pair("one.bmp", 1024), std::pair("almost.bmp", 2047)}) {
        std::ofstream(t.file(name), std::ios::binary) << std::string(size_t(size), 'x');
        t.library.Append(FOLDER_BITMAPS, t.file(name));
    }
    t.library.Append(FOLDER_BITMAPS, t.file("gone.bmp"));
    ASSERT_EQ(t.list.model().rowCount(), 4);
    EXPECT_EQ(t.Text(0, 0), "small.bmp");
    EXPECT_EQ(t.Text(0, 1).toStdString(), t.file("small.bmp"));
    EXPECT_EQ(t.Text(0, 2), "1023 Bytes");
    EXPECT_EQ(t.Text(1, 2), "1KB");
    EXPECT_EQ(t.Text(2, 2), "1KB");
    EXPECT_FALSE(t.Text(0, 3).isEmpty());
    for (int c = 0; c < 4; ++c)
        EXPECT_TRUE(t.Text(3, c).isEmpty()) << c;
}

TEST(CaptureList, TheDateColumnNamesDayAndMonthInTheUsersLanguage)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Library t;
    t.AddPicture("a.bmp");
    const QString date = t.Text(0, 3);
    QLocale::setDefault(before);
    const QDate today = QDate::currentDate();
    const QLocale german(QLocale::German, QLocale::Germany);
    // The file was made moments ago: its date is today's, or yesterday's just past midnight.
    const auto dated = [&](QDate day) {
        return date == german.dayName(day.dayOfWeek()) + ", " + german.monthName(day.month()) + " " +
                           QString("%1").arg(day.day(), 2, 10, QChar('0')) + ", " + QString::number(day.year());
    };
    EXPECT_TRUE(dated(today) || dated(today.addDays(-1))) << date.toStdString();
}

TEST(CaptureList, DeletingItemsTwoAndFiveOfSixKeepsTheOthersWithTheirPictures)
{
    Library t;
    t.AddIcons(6);
    ASSERT_EQ(t.list.model().rowCount(), 6);
    EXPECT_EQ(t.PictureColour(4), Colour(5));
    t.Select({1, 4});
    AnswerBox(QMessageBox::Yes);
    t.list.OnCommand(ID_EDIT_DELETE);
    ASSERT_EQ(t.list.model().rowCount(), 4);
    const int kept[] = {1, 3, 4, 6};
    for (int row = 0; row < 4; ++row) {
        const std::string name = "icon" + std::to_string(kept[row]) + ".ico";
        EXPECT_EQ(t.Text(row, 0).toStdString(), name);
        EXPECT_EQ(t.PictureColour(row), Colour(kept[row])) << name;
        EXPECT_TRUE(Exists(t.file(name)));
    }
    EXPECT_FALSE(Exists(t.file("icon2.ico")));
    EXPECT_FALSE(Exists(t.file("icon5.ico")));
    EXPECT_EQ(t.lists.icons.size(), 4u);
}

TEST(CaptureList, DeletingAllEmptiesTheFolderAndACancelKeepsAll)
{
    Library t;
    t.AddIcons(3);
    t.list.SelectAll();
    AnswerBox(QMessageBox::No);
    t.list.OnCommand(ID_EDIT_DELETE);
    EXPECT_EQ(t.list.model().rowCount(), 3);
    for (int i = 1; i <= 3; ++i)
        EXPECT_TRUE(Exists(t.file("icon" + std::to_string(i) + ".ico")));

    t.list.SelectAll();
    AnswerBox(QMessageBox::Yes);
    t.list.OnCommand(ID_EDIT_DELETE_KEY);
    EXPECT_EQ(t.list.model().rowCount(), 0);
    EXPECT_TRUE(t.lists.icons.empty());
    for (int i = 1; i <= 3; ++i)
        EXPECT_FALSE(Exists(t.file("icon" + std::to_string(i) + ".ico")));
}

TEST(CaptureList, AFileThatCannotBeRemovedKeepsItsRow)
{
    Library t;
    t.AddPicture("a.bmp");
    // A folder where a file was: unlink refuses it, whoever runs the test.
    QDir(t.dir.path()).mkdir("b.bmp");
    t.library.Append(FOLDER_BITMAPS, t.file("b.bmp"));
    t.list.SelectAll();
    AnswerBox(QMessageBox::Yes);
    const QString told = AcceptingMessageBoxes([&] { t.list.OnCommand(ID_EDIT_DELETE); });
    EXPECT_TRUE(told.contains(QString::fromStdString(t.file("b.bmp")))) << told.toStdString();
    ASSERT_EQ(t.list.model().rowCount(), 1);
    EXPECT_EQ(t.Text(0, 0), "b.bmp");
    EXPECT_FALSE(Exists(t.file("a.bmp")));
}

TEST(CaptureList, RenameKeepsTheNameForAnEmptyTextAndNeverReplacesAFile)
{
    Library t;
    t.AddPicture("a.bmp", 1);
    t.AddPicture("b.bmp", 2);
    auto& model = t.list.model();
    EXPECT_FALSE(model.setData(model.index(0, 0), "", Qt::EditRole));
    EXPECT_FALSE(model.setData(model.index(0, 0), "   ", Qt::EditRole));
    EXPECT_EQ(t.Text(0, 0), "a.bmp");
    EXPECT_TRUE(Exists(t.file("a.bmp")));

    QString refused;
    QObject::connect(&model, &CaptureListModel::renameFailed,
                     [&](const QString& path, const QString&) { refused = path; });
    const QString told =
        AcceptingMessageBoxes([&] { EXPECT_FALSE(model.setData(model.index(0, 0), "b.bmp", Qt::EditRole)); });
    EXPECT_TRUE(told.contains("could not be renamed")) << told.toStdString();
    EXPECT_EQ(refused.toStdString(), t.file("a.bmp"));
    EXPECT_EQ(t.Text(0, 0), "a.bmp");
    EXPECT_EQ(CImage(t.file("b.bmp").c_str(), IMAGE_TYPE_BMP).MakeBitmap()->pixels[0] & 0xFFFFFF, Colour(2) & 0xFFFFFF);

    EXPECT_TRUE(model.setData(model.index(0, 0), " holiday.bmp ", Qt::EditRole));
    EXPECT_EQ(t.Text(0, 0), "holiday.bmp");
    EXPECT_EQ(t.lists.bitmaps[0], t.file("holiday.bmp"));
    EXPECT_TRUE(Exists(t.file("holiday.bmp")));
    EXPECT_FALSE(Exists(t.file("a.bmp")));
}

TEST(CaptureList, CopyPutsTheFilesForAFileManagersPaste)
{
    Library t;
    t.AddPicture("a.bmp");
    t.AddPicture("b c.bmp");
    t.AddPicture("d.bmp");
    t.Select({0, 1});
    t.list.OnCommand(ID_EDIT_COPY);
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(data);
    const QList<QUrl> urls = data->urls();
    ASSERT_EQ(urls.size(), 2);
    EXPECT_EQ(urls[0].toLocalFile().toStdString(), t.file("a.bmp"));
    EXPECT_EQ(urls[1].toLocalFile().toStdString(), t.file("b c.bmp"));
    const QByteArray gnome = data->data("x-special/gnome-copied-files");
    EXPECT_TRUE(gnome.startsWith("copy\nfile://")) << gnome.toStdString();
    EXPECT_TRUE(gnome.contains("b%20c.bmp"));

    t.Select({2});
    t.list.OnCommand(ID_EDIT_COPY_TO_CLIPBOARD);
    const QImage picture = QApplication::clipboard()->image();
    EXPECT_EQ(picture.size(), QSize(20, 10));
}

TEST(CaptureList, SaveAsWithTheJpegFilterWritesAJpegWhateverExtensionIsTyped)
{
    Library t;
    t.AddPicture("shot.bmp");
    t.Select({0});
    const std::string typed = t.file("copy.png");
    AnswerSaveAs(1, typed);
    t.list.OnCommand(ID_FILE_SAVE_AS);
    EXPECT_FALSE(Exists(typed));
    const CImage written(t.file("copy.jpg").c_str(), IMAGE_TYPE_JPG);
    EXPECT_TRUE(written.IsValid());
    EXPECT_EQ(written.GetWidth(), 20);
    EXPECT_EQ(t.list.model().rowCount(), 1); // not added to the library
}

TEST(CaptureList, SaveAsOfADamagedCaptureSaysSoAndWritesNothing)
{
    Library t;
    std::ofstream(t.file("broken.bmp"), std::ios::binary) << "BM not really a bitmap";
    t.library.Append(FOLDER_BITMAPS, t.file("broken.bmp"));
    t.Select({0});
    const std::string typed = t.file("copy.png");
    AnswerSaveAs(3, typed);
    const QString told = AcceptingMessageBoxes([&] { t.list.OnCommand(ID_FILE_SAVE_AS); });
    EXPECT_TRUE(told.contains("broken.bmp")) << told.toStdString();
    EXPECT_FALSE(Exists(typed));
}

namespace {

// The folder dialog of Copy To and Move To answers with t's "out".
void ChooseFolderOut(const Library& t)
{
    AnswerNextModal([&t](QWidget& modal) {
        auto* dialog = qobject_cast<QFileDialog*>(&modal);
        ASSERT_TRUE(dialog);
        dialog->setDirectory(t.dir.path());
        dialog->selectFile("out");
        static_cast<QDialog*>(dialog)->accept();
    });
}

} // namespace

TEST(CaptureList, CopyAndMoveToAFolder)
{
    Library t;
    t.AddPicture("a.bmp", 1);
    t.AddPicture("b.bmp", 2);
    QDir(t.dir.path()).mkdir("out");
    const QString out = t.dir.path() + "/out";
    for (bool move : {false, true}) {
        t.Select({0});
        ChooseFolderOut(t);
        if (move) {
            // The copy made the name taken there: the move leaves the file where it is.
            t.list.OnCommand(ID_EDIT_MOVE_TO);
            EXPECT_TRUE(Exists(t.file("a.bmp")));
            EXPECT_EQ(t.Text(0, 1).toStdString(), t.file("a.bmp"));
        } else {
            t.list.OnCommand(ID_EDIT_COPY_TO);
            EXPECT_TRUE(Exists(t.file("a.bmp")));
            EXPECT_TRUE(Exists(t.file("out/a.bmp")));
        }
    }
    QFile::remove(out + "/a.bmp");
    t.Select({0});
    ChooseFolderOut(t);
    t.list.OnCommand(ID_EDIT_MOVE_TO);
    EXPECT_FALSE(Exists(t.file("a.bmp")));
    EXPECT_TRUE(Exists(t.file("out/a.bmp")));
    EXPECT_EQ(t.Text(0, 0), "a.bmp");
    EXPECT_EQ(t.Text(0, 1).toStdString(), t.file("out/a.bmp"));
}

TEST(CaptureList, TheViewButtonCyclesThroughTheFiveViews)
{
    Library t;
    t.AddPicture("a.bmp");
    std::vector<int> seen;
    for (int i = 0; i < 5; ++i) {
        t.list.OnCommand(ID_VIEW_BUTTON);
        seen.push_back(t.list.viewMode());
    }
    EXPECT_EQ(seen, (std::vector<int> {VIEW_LIST, VIEW_SMALL_ICONS, VIEW_LARGE_ICONS, VIEW_THUMBNAILS, VIEW_DETAILS}));
    t.list.OnCommand(ID_VIEW_THUMBNAILS);
    EXPECT_EQ(t.list.viewMode(), VIEW_THUMBNAILS);
    const auto icon = t.list.model().index(0, 0).data(Qt::DecorationRole).value<QIcon>();
    EXPECT_FALSE(icon.pixmap(QSize(120, 100)).isNull());
}

TEST(CaptureList, SwitchingToTheFolderShownRefillsNothingAndFoundFilesKeepTheSelection)
{
    Library t;
    t.AddPicture("a.bmp");
    t.library.Append(FOLDER_AVI, t.file("clip.avi"));
    int resets = 0;
    QObject::connect(&t.list.model(), &QAbstractItemModel::modelReset, [&] { ++resets; });
    t.list.ShowFolder(FOLDER_BITMAPS); // already shown: nothing refilled
    EXPECT_EQ(resets, 0);
    t.Select({0});
    t.library.Append(FOLDER_BITMAPS, std::vector {t.file("found.bmp")});
    EXPECT_EQ(t.list.SelectedRows(), std::vector<int> {0});
    EXPECT_EQ(t.list.model().rowCount(), 2);
    t.list.ShowFolder(FOLDER_AVI);
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(t.list.model().rowCount(), 1);
}

// Ctrl+A selects every row, a plain A does not; Ctrl+C copies the files and
// Delete asks before it deletes.
TEST(CaptureList, KeysOfTheList)
{
    Library t;
    t.AddPicture("a.bmp");
    t.AddPicture("b.bmp");
    t.AddPicture("c.bmp");
    auto press = [&](int key, Qt::KeyboardModifiers modifiers) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(t.list.currentView(), &event);
    };
    press(Qt::Key_A, Qt::NoModifier);
    EXPECT_LT(t.list.SelectedRows().size(), 3u);
    press(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(t.list.SelectedRows(), (std::vector<int> {0, 1, 2}));
    QApplication::clipboard()->clear();
    press(Qt::Key_C, Qt::ControlModifier);
    ASSERT_TRUE(QApplication::clipboard()->mimeData());
    EXPECT_EQ(QApplication::clipboard()->mimeData()->urls().size(), 3);
    t.Select({1});
    AnswerBox(QMessageBox::Yes);
    press(Qt::Key_Delete, Qt::NoModifier);
    EXPECT_EQ(t.list.model().rowCount(), 2);
    EXPECT_FALSE(Exists(t.file("b.bmp")));
}
