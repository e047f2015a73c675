// The full-window viewer's paging and dragging, and the thumbnail images'
// delivery to the window side, on Qt's offscreen platform.
#include "codec/byte_sink.h"
#include "codec/encode.h"
#include "codec/file_io.h"
#include "library/image_view_wnd.h"
#include "library/model/capture_library.h"
#include "library/thumbnail_images.h"
#include "qt_test_support.h"

#include <QKeyEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vistrel;

namespace {

std::string WritePng(const QTemporaryDir& dir, const std::string& name, int width, int height)
{
    const std::string path = dir.filePath(QString::fromStdString(name)).toStdString();
    VectorSink sink;
    EXPECT_TRUE(EncodeImage(Bitmap(width, height, MakeArgb(10, 200, 30)), false, IMAGE_TYPE_PNG, sink));
    EXPECT_TRUE(WriteThroughSink(path, [&](ByteSink& out) { return out.Write(sink.bytes().data(), sink.bytes().size()); }));
    return path;
}

void Press(QWidget& widget, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &press);
}

struct ViewerFixture {
    QTemporaryDir dir;
    CaptureLists lists;
    CaptureLibrary library{lists};
    ViewerMemory memory;
    QWidget owner;
};

} // namespace

TEST(ImageViewer, NextFirstShowsTheListsFirstEntryThenWrapsBothWays)
{
    ViewerFixture f;
    for (const char* name : {"a.png", "b.png", "c.png"})
        f.library.Append(FOLDER_BITMAPS, WritePng(f.dir, name, 20, 10));
    auto* viewer = new CImageViewWnd(f.library, f.memory, &f.owner);
    viewer->Open(QString::fromStdString(f.lists.bitmaps[1])); // opened on the second
    Press(*viewer, Qt::Key_N);
    EXPECT_EQ(viewer->path().toStdString(), f.lists.bitmaps[0]);
    Press(*viewer, Qt::Key_Space);
    Press(*viewer, Qt::Key_N);
    EXPECT_EQ(viewer->path().toStdString(), f.lists.bitmaps[2]);
    Press(*viewer, Qt::Key_N);
    EXPECT_EQ(viewer->path().toStdString(), f.lists.bitmaps[0]);
    Press(*viewer, Qt::Key_P);
    EXPECT_EQ(viewer->path().toStdString(), f.lists.bitmaps[2]);
    EXPECT_TRUE(viewer->hasPicture());
    viewer->close();
    // The next opening goes on from where this one stopped.
    EXPECT_EQ(f.memory.position, 2);
}

TEST(ImageViewer, WithOneBitmapPreviousAndNextDoNothing)
{
    ViewerFixture f;
    f.library.Append(FOLDER_BITMAPS, WritePng(f.dir, "only.png", 20, 10));
    auto* viewer = new CImageViewWnd(f.library, f.memory, &f.owner);
    viewer->Open(QString::fromStdString(f.lists.bitmaps[0]));
    Press(*viewer, Qt::Key_N);
    Press(*viewer, Qt::Key_P);
    EXPECT_EQ(f.memory.position, -1);
    viewer->close();
}

TEST(ImageViewer, FirstArrowKeyIsSwallowedAndSmallPicturesStayCentred)
{
    ViewerFixture f;
    const std::string path = WritePng(f.dir, "small.png", 64, 48);
    auto* viewer = new CImageViewWnd(f.library, f.memory, &f.owner);
    viewer->Open(QString::fromStdString(path));
    const QPoint centred = viewer->FullExtentOrigin();
    EXPECT_EQ(centred, QPoint((viewer->width() - 64) / 2, (viewer->height() - 48) / 2));
    Press(*viewer, Qt::Key_Right);
    EXPECT_EQ(viewer->pan(), QPoint(0, 0));
    Press(*viewer, Qt::Key_Right);
    Press(*viewer, Qt::Key_Down);
    EXPECT_EQ(viewer->pan(), QPoint(5, 5));
    EXPECT_EQ(viewer->FullExtentOrigin(), centred); // cannot be dragged off centre
    viewer->close();
}

TEST(ImageViewer, LargePictureDragsButLeavesNoGap)
{
    ViewerFixture f;
    auto* viewer = new CImageViewWnd(f.library, f.memory, &f.owner);
    const int w = viewer->width() * 3, h = viewer->height() * 3;
    viewer->Open(QString::fromStdString(WritePng(f.dir, "large.png", w, h)));
    EXPECT_EQ(viewer->FullExtentOrigin(), QPoint(-(w - viewer->width()) / 2, -(h - viewer->height()) / 2));
    Press(*viewer, Qt::Key_Left); // swallowed
    for (int i = 0; i < viewer->width(); ++i)
        Press(*viewer, Qt::Key_Left);
    EXPECT_EQ(viewer->FullExtentOrigin().x(), viewer->width() - w); // right edge at the screen's
    viewer->close();
}

TEST(ImageViewer, MissingFileShowsNothing)
{
    ViewerFixture f;
    auto* viewer = new CImageViewWnd(f.library, f.memory, &f.owner);
    viewer->Open(f.dir.filePath("gone.png"));
    EXPECT_FALSE(viewer->hasPicture());
    viewer->close();
}

TEST(ThumbnailImages, EveryRowGetsItsPictureThroughTheEventLoop)
{
    QTemporaryDir dir;
    std::vector<std::string> paths;
    for (int i = 0; i < 6; ++i)
        paths.push_back(WritePng(dir, "t" + std::to_string(i) + ".png", 300, 200));
    CThumbnailImages images(dir.filePath("cache").toStdString());
    std::vector<int> rows;
    bool finished = false;
    QObject::connect(&images, &CThumbnailImages::pictureReady, [&](int row) { rows.push_back(row); });
    QObject::connect(&images, &CThumbnailImages::finished, [&] { finished = true; });
    images.Build(paths, FOLDER_BITMAPS, {4, 5}, nullptr);
    ASSERT_TRUE(test::WaitFor([&] { return finished; }));
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0], 4);
    EXPECT_EQ(rows[1], 5);
    for (int row = 0; row < 6; ++row)
        EXPECT_EQ(images.Picture(row).size(), QSize(120, 100));
    EXPECT_FALSE(images.building());
}

TEST(ThumbnailImages, AStoppedBuildDeliversNothingMore)
{
    QTemporaryDir dir;
    std::vector<std::string> paths;
    for (int i = 0; i < 40; ++i)
        paths.push_back(WritePng(dir, "s" + std::to_string(i) + ".png", 800, 600));
    CThumbnailImages images("");
    int after = 0;
    bool stopped = false;
    QObject::connect(&images, &CThumbnailImages::pictureReady, [&](int) { after += stopped ? 1 : 0; });
    images.Build(paths, FOLDER_BITMAPS, {}, nullptr);
    ASSERT_TRUE(test::WaitFor([&] { return images.Picture(0).size() == QSize(120, 100); }));
    images.Stop();
    stopped = true;
    EXPECT_EQ(images.rowCount(), 0);
    test::WaitFor([] { return false; }, 300); // whatever was queued comes now
    EXPECT_EQ(after, 0);
    EXPECT_TRUE(images.Picture(1).isNull());
}
