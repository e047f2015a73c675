// The list's Thumbnails view with the real thumbnail builder (its progress bar
// in the status bar, stopping when the view or folder changes), the new
// capture selected and handed to the preview in every view, and the file
// count in the chosen language.

#include "codec/image.h"
#include "i18n/translate.h"
#include "library/capture_list_ctrl.h"
#include "library/capture_list_model.h"
#include "library/gradient_progress.h"
#include "library/list_pane.h"
#include "library/model/capture_library.h"
#include "library/thumbnail_images.h"
#include "qt_test_support.h"

#include <QAbstractItemView>
#include <QIcon>
#include <QStatusBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vistrel;
using namespace vistrel::test;

namespace {

struct Thumbnails {
    QTemporaryDir dir;
    CaptureLists lists;
    CaptureLibrary library {lists};
    QStatusBar status;
    CCaptureListCtrl list {library};

    Thumbnails() { list.SetStatusBar(&status); }

    std::string Picture(const std::string& name, uint32_t colour, int width = 40, int height = 30)
    {
        const std::string path = (dir.path() + "/" + QString::fromStdString(name)).toStdString();
        EXPECT_TRUE(CImage(Bitmap(width, height, colour), 24).Save(path.c_str(), IMAGE_TYPE_PNG));
        return path;
    }
    CGradientProgressCtrl* progress() const { return status.findChild<CGradientProgressCtrl*>("thumbnailProgress"); }
    QImage RowPicture(int row) const
    {
        const auto icon = list.model().index(row, 0).data(Qt::DecorationRole).value<QIcon>();
        return icon.pixmap(QSize(120, 100)).toImage();
    }
    bool AllBuilt() const
    {
        for (int row = 0; row < list.model().rowCount(); ++row)
            if (list.thumbnails().Picture(row).isNull())
                return false;
        return !list.thumbnails().building() && !list.model().thumbnailsPending();
    }
};

constexpr uint32_t kRed = MakeArgb(220, 20, 20);
constexpr uint32_t kBlue = MakeArgb(20, 40, 230);

} // namespace

TEST(ListThumbnails, EachRowShowsItsOwnThumbnailAndTheBarGoesWhenDone)
{
    Thumbnails t;
    t.library.Append(FOLDER_BITMAPS, std::vector {t.Picture("red.png", kRed), t.Picture("blue.png", kBlue)});
    t.list.SetViewMode(VIEW_THUMBNAILS);
    ASSERT_TRUE(t.progress()) << "no progress bar while building";
    ASSERT_TRUE(WaitFor([&] { return t.AllBuilt(); }));
    EXPECT_FALSE(t.progress());
    const QImage red = t.RowPicture(0), blue = t.RowPicture(1);
    ASSERT_EQ(red.size(), QSize(120, 100));
    // A 40 x 30 picture sits unscaled in the middle of the white frame.
    EXPECT_EQ(red.pixel(60, 50), kRed);
    EXPECT_EQ(blue.pixel(60, 50), kBlue);
    EXPECT_EQ(red.pixel(10, 10), MakeArgb(255, 255, 255));
}

TEST(ListThumbnails, LeavingTheViewOrTheFolderStopsTheBuild)
{
    Thumbnails t;
    std::vector<std::string> paths;
    for (int i = 0; i < 30; ++i)
        paths.push_back(t.Picture("p" + std::to_string(i) + ".png", kRed, 900, 700));
    t.library.Append(FOLDER_BITMAPS, paths);
    t.list.SetViewMode(VIEW_THUMBNAILS);
    ASSERT_TRUE(WaitFor([&] { return t.list.thumbnails().Picture(0).width() + t.list.thumbnails().Picture(29).width() > 0; }));
    t.list.SetViewMode(VIEW_LARGE_ICONS);
    EXPECT_FALSE(t.list.thumbnails().building());
    EXPECT_EQ(t.list.thumbnails().rowCount(), 0);
    EXPECT_FALSE(t.progress());
    EXPECT_NE(t.RowPicture(0).size(), QSize(120, 100)) << "a large-icon row shows a thumbnail";

    // Back in Thumbnails, another folder starts over with that folder's files.
    t.list.SetViewMode(VIEW_THUMBNAILS);
    EXPECT_TRUE(t.list.thumbnails().building());
    const std::string icon = (t.dir.path() + "/one.ico").toStdString();
    ASSERT_TRUE(CImage(Bitmap(16, 16, kBlue), 32).Save(icon.c_str(), IMAGE_TYPE_ICO));
    t.library.Append(FOLDER_ICONS, std::vector {icon});
    t.list.ShowFolder(FOLDER_ICONS);
    EXPECT_EQ(t.list.thumbnails().rowCount(), 1);
    ASSERT_TRUE(WaitFor([&] { return t.AllBuilt(); }));
    EXPECT_EQ(t.RowPicture(0).pixel(60, 50), kBlue);
    // The recordings share one framed picture: no build, no bar.
    t.library.Append(FOLDER_AVI, std::vector {(t.dir.path() + "/clip.avi").toStdString()});
    t.list.ShowFolder(FOLDER_AVI);
    EXPECT_FALSE(t.list.thumbnails().building());
    EXPECT_FALSE(t.progress());
}

TEST(ListThumbnails, ACaptureDuringTheBuildGetsItsThumbnailToo)
{
    Thumbnails t;
    std::vector<std::string> paths;
    for (int i = 0; i < 12; ++i)
        paths.push_back(t.Picture("p" + std::to_string(i) + ".png", kRed, 600, 400));
    t.library.Append(FOLDER_BITMAPS, paths);
    t.list.SetViewMode(VIEW_THUMBNAILS);
    t.library.Append(FOLDER_BITMAPS, t.Picture("new.png", kBlue));
    ASSERT_TRUE(WaitFor([&] { return t.AllBuilt(); }));
    EXPECT_EQ(t.RowPicture(12).pixel(60, 50), kBlue);
    EXPECT_EQ(t.RowPicture(3).pixel(60, 50), kRed);
    // Once the build is done, the next capture starts a build of its own.
    t.library.Append(FOLDER_BITMAPS, t.Picture("later.png", kBlue));
    ASSERT_TRUE(WaitFor([&] { return t.AllBuilt(); }));
    EXPECT_EQ(t.RowPicture(13).pixel(60, 50), kBlue);
}

TEST(ListThumbnails, ThePicturesOfADiscardedBuildNeverReachTheNextList)
{
    Thumbnails t;
    std::vector<std::string> reds, blues;
    for (int i = 0; i < 20; ++i) {
        reds.push_back(t.Picture("r" + std::to_string(i) + ".png", kRed, 700, 500));
        blues.push_back(t.Picture("b" + std::to_string(i) + ".png", kBlue, 30, 20));
    }
    t.library.Append(FOLDER_BITMAPS, reds);
    t.list.SetViewMode(VIEW_THUMBNAILS);
    ASSERT_TRUE(WaitFor([&] { return !t.list.thumbnails().Picture(0).isNull(); }));
    // Another folder, and back to this one with other files in it, while red
    // pictures are still being made.
    t.list.ShowFolder(FOLDER_ICONS);
    t.lists.bitmaps = blues;
    t.list.ShowFolder(FOLDER_BITMAPS);
    ASSERT_TRUE(WaitFor([&] { return t.AllBuilt(); }));
    for (int row = 0; row < 20; ++row)
        EXPECT_EQ(t.RowPicture(row).pixel(60, 50), kBlue) << row;
}

TEST(ListThumbnails, ANewCaptureIsSelectedAndPreviewedInEveryView)
{
    Thumbnails t;
    CListPaneView pane(t.library);
    QString previewed;
    QObject::connect(&pane, &CListPaneView::previewWanted, [&](const QString& path) { previewed = path; });
    CCaptureListCtrl& list = pane.list();
    int n = 0;
    for (ListViewMode mode : {VIEW_DETAILS, VIEW_LIST, VIEW_SMALL_ICONS, VIEW_LARGE_ICONS, VIEW_THUMBNAILS}) {
        list.SetViewMode(mode);
        const std::string path = t.Picture("shot" + std::to_string(n) + ".png", kRed);
        t.library.Append(FOLDER_BITMAPS, path);
        ++n;
        EXPECT_EQ(list.SelectedRows(), std::vector<int> {n - 1}) << mode;
        EXPECT_EQ(list.currentView()->currentIndex().row(), n - 1) << mode;
        EXPECT_EQ(previewed.toStdString(), path) << mode;
    }
    // A capture of another kind than the one shown changes nothing.
    t.library.Append(FOLDER_AVI, (t.dir.path() + "/clip.avi").toStdString());
    EXPECT_EQ(list.SelectedRows(), std::vector<int> {n - 1});
    // Nor does a batch of found files.
    t.library.Append(FOLDER_BITMAPS, std::vector {t.Picture("found.png", kBlue)});
    EXPECT_EQ(list.SelectedRows(), std::vector<int> {n - 1});
    ASSERT_TRUE(WaitFor([&] { return !list.thumbnails().building(); }));
}

TEST(ListThumbnails, TheFileCountReadsInTheChosenLanguage)
{
    Thumbnails t;
    CListPaneView pane(t.library);
    QString shown;
    QObject::connect(&pane, &CListPaneView::totalFilesChanged, [&](const QString& text) { shown = text; });
    t.library.Append(FOLDER_BITMAPS, t.Picture("a.png", kRed));
    EXPECT_EQ(shown, "Total files: 1");
    const Translator chinese(std::string(VISTREL_LANGUAGE_DIR) + "/vstlchs.ini");
    ASSERT_TRUE(chinese.chosen());
    pane.SetTotalFilesFormat(chinese.Text(kMainMenuSection, kTotalFilesKey));
    EXPECT_EQ(shown.toStdString(), "文件总数：1");
    t.library.Append(FOLDER_BITMAPS, t.Picture("b.png", kRed));
    EXPECT_EQ(shown.toStdString(), "文件总数：2");
    EXPECT_EQ(chinese.Text(kMainMenuSection, kFolderBarTitleKey), "虚拟文件夹");
    EXPECT_EQ(chinese.Text(kMainMenuSection, kPreviewBarTitleKey), "预览");
}
