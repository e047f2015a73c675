// The program's pictures as the windows get them: every picture renders, at 1x
// and 2x, to the size asked for; pixel-grid drawings stay sharp; the menu
// drawings lose nothing when cut to 16 x 16; the tray animation moves.

#include "ui/pictures/pictures.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include <gtest/gtest.h>

namespace vistrel {
namespace {

QImage Argb(const QImage& image)
{
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage Picture(const QIcon& icon, QSize size, qreal ratio, QIcon::Mode mode = QIcon::Normal)
{
    return Argb(icon.pixmap(size, ratio, mode).toImage());
}

// Shows something: a fair share of visible pixels in more than one colour.
bool ShowsSomething(const QImage& image)
{
    int visible = 0;
    QRgb first = 0;
    bool twoColours = false;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) == 0)
                continue;
            if (visible++ == 0)
                first = pixel;
            else if (pixel != first)
                twoColours = true;
        }
    return twoColours && visible * 8 >= image.width() * image.height();
}

// Pixels neither transparent nor opaque: edges that fall between pixels.
int SoftPixels(const QImage& image)
{
    int soft = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(image.pixel(x, y));
            soft += alpha > 0 && alpha < 255;
        }
    return soft;
}

bool ColumnEmpty(const QImage& image, int x)
{
    for (int y = 0; y < image.height(); ++y)
        if (qAlpha(image.pixel(x, y)) != 0)
            return false;
    return true;
}

TEST(Pictures, EveryToolBarPictureRendersAtOneAndTwoTimes)
{
    ASSERT_EQ(ToolBarPictureCommands().size(), 11);
    for (int id : ToolBarPictureCommands()) {
        SCOPED_TRACE(id);
        const QIcon icon = ToolBarPicture(id);
        ASSERT_FALSE(icon.isNull());
        const QPixmap single = icon.pixmap(kToolBarPictureSize, 1.0);
        EXPECT_EQ(single.size(), kToolBarPictureSize);
        EXPECT_TRUE(ShowsSomething(Argb(single.toImage())));
        const QPixmap twice = icon.pixmap(kToolBarPictureSize, 2.0);
        EXPECT_EQ(twice.size(), kToolBarPictureSize * 2);
        EXPECT_EQ(twice.devicePixelRatio(), 2.0);
        EXPECT_TRUE(ShowsSomething(Argb(twice.toImage())));
    }
}

TEST(Pictures, EveryMenuPictureRendersAndKeepsItsCutColumnsEmpty)
{
    ASSERT_EQ(MenuPictureCommands().size(), 17);
    for (int id : MenuPictureCommands()) {
        SCOPED_TRACE(id);
        const QIcon icon = MenuPicture(id);
        ASSERT_FALSE(icon.isNull());
        const QImage whole = Picture(icon, kMenuPictureSize, 1.0);
        ASSERT_EQ(whole.size(), kMenuPictureSize);
        EXPECT_TRUE(ShowsSomething(whole));
        // Menus ask for 16 x 16: the outer columns are cut, so they must hold nothing.
        EXPECT_TRUE(ColumnEmpty(whole, 0));
        EXPECT_TRUE(ColumnEmpty(whole, 17));
        const QImage wholeTwice = Picture(icon, kMenuPictureSize, 2.0);
        ASSERT_EQ(wholeTwice.size(), kMenuPictureSize * 2);
        for (int x : {0, 1, 34, 35})
            EXPECT_TRUE(ColumnEmpty(wholeTwice, x)) << "column " << x;

        const QImage square = Picture(icon, QSize(16, 16), 1.0);
        EXPECT_EQ(square.size(), QSize(16, 16));
        EXPECT_EQ(square, whole.copy(1, 0, 16, 16));
        const QImage squareTwice = Picture(icon, QSize(16, 16), 2.0);
        EXPECT_EQ(squareTwice.size(), QSize(32, 32));
        EXPECT_EQ(squareTwice, wholeTwice.copy(2, 0, 32, 32));
    }
}

TEST(Pictures, OneCommandIconShowsTheMenuDrawingSmallAndTheToolBarDrawingLarge)
{
    for (int id : ToolBarPictureCommands()) {
        SCOPED_TRACE(id);
        const QIcon both = CommandPicture(id);
        for (qreal ratio : {1.0, 2.0}) {
            EXPECT_EQ(Picture(both, QSize(16, 16), ratio), Picture(MenuPicture(id), QSize(16, 16), ratio));
            EXPECT_EQ(Picture(both, kToolBarPictureSize, ratio),
                      Picture(ToolBarPicture(id), kToolBarPictureSize, ratio));
        }
    }
    // Menu-only commands have the one drawing.
    EXPECT_EQ(Picture(CommandPicture(32811), QSize(16, 16), 1.0),
              Picture(MenuPicture(32811), QSize(16, 16), 1.0));
    EXPECT_TRUE(ToolBarPicture(32811).isNull());
    for (int unknown : {0, -1, 32863, 57665, 99999}) {
        EXPECT_TRUE(CommandPicture(unknown).isNull()) << unknown;
        EXPECT_TRUE(MenuPicture(unknown).isNull()) << unknown;
        EXPECT_TRUE(ToolBarPicture(unknown).isNull()) << unknown;
    }
}

TEST(Pictures, GridDrawingsStaySharpAtOneAndTwoTimes)
{
    // Drawings of straight horizontal and vertical edges only: any soft pixel
    // means a design was scaled or placed off its pixel grid.
    for (qreal ratio : {1.0, 2.0}) {
        SCOPED_TRACE(ratio);
        EXPECT_EQ(SoftPixels(Picture(ToolBarPicture(32772), kToolBarPictureSize, ratio)), 0);
        EXPECT_EQ(SoftPixels(Picture(CommandPicture(32772), kToolBarPictureSize, ratio)), 0);
        for (int id : {32772, 32778, 32779, 59408}) {
            SCOPED_TRACE(id);
            EXPECT_EQ(SoftPixels(Picture(CommandPicture(id), QSize(16, 16), ratio)), 0);
            EXPECT_EQ(SoftPixels(Picture(MenuPicture(id), kMenuPictureSize, ratio)), 0);
        }
    }
}

TEST(Pictures, PaintingPlacesThePictureOnWholePixels)
{
    const QIcon icon = CommandPicture(32772);
    for (qreal ratio : {1.0, 2.0}) {
        SCOPED_TRACE(ratio);
        QImage canvas(QSize(40, 40) * ratio, QImage::Format_ARGB32);
        canvas.setDevicePixelRatio(ratio);
        canvas.fill(Qt::transparent);
        {
            QPainter painter(&canvas);
            icon.paint(&painter, QRect(5, 5, 30, 30));
        }
        const QImage expected = Picture(icon, kToolBarPictureSize, ratio);
        const int at = int(5 * ratio);
        EXPECT_EQ(canvas.copy(at, at, expected.width(), expected.height()).convertToFormat(QImage::Format_ARGB32),
                  expected);
        EXPECT_TRUE(ColumnEmpty(canvas, at - 1));
    }
}

TEST(Pictures, DisabledPicturesAreGreyAndFainter)
{
    const QIcon icon = ToolBarPicture(32802);
    const QImage normal = Picture(icon, kToolBarPictureSize, 1.0);
    const QImage disabled = Picture(icon, kToolBarPictureSize, 1.0, QIcon::Disabled);
    ASSERT_EQ(disabled.size(), normal.size());
    EXPECT_TRUE(ShowsSomething(disabled));
    int strongestNormal = 0;
    int strongestDisabled = 0;
    for (int y = 0; y < disabled.height(); ++y)
        for (int x = 0; x < disabled.width(); ++x) {
            const QRgb pixel = disabled.pixel(x, y);
            if (qAlpha(pixel) > 0) {
                EXPECT_EQ(qRed(pixel), qGreen(pixel));
                EXPECT_EQ(qGreen(pixel), qBlue(pixel));
            }
            strongestDisabled = std::max(strongestDisabled, qAlpha(pixel));
            strongestNormal = std::max(strongestNormal, qAlpha(normal.pixel(x, y)));
        }
    EXPECT_LT(strongestDisabled, strongestNormal);
}

TEST(Pictures, TimerTrayAnimationMovesThroughEightFramesAndWraps)
{
    std::vector<QImage> frames;
    for (int i = 0; i < kTimerTrayFrameCount; ++i) {
        frames.push_back(Picture(TimerTrayFrame(i), kTrayPictureSize, 2.0));
        EXPECT_EQ(frames.back().size(), kTrayPictureSize * 2) << i;
        EXPECT_TRUE(ShowsSomething(frames.back())) << i;
    }
    for (int i = 0; i < kTimerTrayFrameCount; ++i)
        for (int j = i + 1; j < kTimerTrayFrameCount; ++j)
            EXPECT_NE(frames[i], frames[j]) << i << " and " << j;
    EXPECT_EQ(Picture(TimerTrayFrame(kTimerTrayFrameCount), kTrayPictureSize, 2.0), frames[0]);
    EXPECT_EQ(Picture(TimerTrayFrame(-1), kTrayPictureSize, 2.0), frames[kTimerTrayFrameCount - 1]);
    EXPECT_EQ(Picture(TimerTrayFrame(8 * 1000 + 3), kTrayPictureSize, 2.0), frames[3]);
}

TEST(Pictures, RecordingTrayIconIsARedLight)
{
    for (qreal ratio : {1.0, 2.0}) {
        const QImage image = Picture(RecordingTrayIcon(), kTrayPictureSize, ratio);
        ASSERT_EQ(image.size(), kTrayPictureSize * ratio);
        const QRgb centre = image.pixel(image.width() / 2, image.height() / 2);
        EXPECT_EQ(qAlpha(centre), 255);
        EXPECT_GT(qRed(centre), 2 * qGreen(centre));
        EXPECT_GT(qRed(centre), 2 * qBlue(centre));
    }
}

TEST(Pictures, ApplicationIconAtEveryInstalledSize)
{
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        const QImage image = Argb(ApplicationIconImage(size));
        ASSERT_EQ(image.size(), QSize(size, size));
        EXPECT_TRUE(ShowsSomething(image));
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);  // rounded corners
        EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255);
        EXPECT_EQ(Picture(ApplicationIcon(), QSize(size, size), 1.0), image);
    }
    EXPECT_TRUE(ApplicationIconImage(0).isNull());
    EXPECT_TRUE(ApplicationIconImage(-16).isNull());
    EXPECT_TRUE(ApplicationIconImage(100000).isNull());

    // At 16 pixels the simple drawing is sharper than the detailed one shrunk.
    QImage shrunk(16, 16, QImage::Format_ARGB32);
    shrunk.fill(Qt::transparent);
    {
        QPainter painter(&shrunk);
        QSvgRenderer detailed(QStringLiteral(":/pictures/app.svg"));
        ASSERT_TRUE(detailed.isValid());
        detailed.render(&painter, QRectF(0, 0, 16, 16));
    }
    EXPECT_LT(SoftPixels(Argb(ApplicationIconImage(16))), SoftPixels(shrunk));
    EXPECT_EQ(Picture(TrayIcon(), kTrayPictureSize, 1.0), Argb(ApplicationIconImage(16)));
}

} // namespace
} // namespace vistrel
