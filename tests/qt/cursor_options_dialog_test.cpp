// The "Cursor Options" dialog offscreen: what OK and Cancel write, which
// controls each choice enables, built-in and file cursors with their hot
// spots, the highlight preview, and the AVI dialog's button that opens it.
#include "library/model/capture_library.h"
#include "record/core/builtin_cursors.h"
#include "record/core/cursor_highlight.h"
#include "record/dialogs/avi_capture_dialog.h"
#include "record/dialogs/cursor_options_dialog.h"
#include "settings/env.h"
#include "ui/pictures/cursor_pictures.h"
#include "../unit/pe_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

using namespace vistrel;
using namespace vistrel::test;

namespace {

CursorImage FakeScreenCursor()
{
    CursorImage cursor;
    cursor.image = Bitmap(8, 12, MakeArgb(0, 0, 0));
    cursor.hotX = 1;
    return cursor;
}

bool Enabled(const CCursorOptionsDlg& dialog, int id) { return dialog.Control(id)->isEnabled(); }
void Click(const CCursorOptionsDlg& dialog, int id) { static_cast<QAbstractButton*>(dialog.Control(id))->click(); }

// Runs action and answers the first modal window it opens with answer;
// returns whether one was opened.
bool Answering(const std::function<void()>& action, const std::function<void(QWidget*)>& answer)
{
    bool answered = false;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget(); modal && !answered) {
            answered = true;
            answer(modal);
        }
    });
    timer.start();
    action();
    return answered;
}

// A .cur file of one 32-bit image with its hot spot at (hotX, hotY).
Bytes CursorFile(int side, uint16_t hotX, uint16_t hotY)
{
    const Bytes image = DibIconImage(side, 32, 7);
    Bytes out(6 + 16, 0);
    Put16(out, 2, 2);
    Put16(out, 4, 1);
    Put16(out, 10, hotX);
    Put16(out, 12, hotY);
    Put32(out, 14, uint32_t(image.size()));
    Put32(out, 18, uint32_t(out.size()));
    out.insert(out.end(), image.begin(), image.end());
    return out;
}

QImage HighlightShown(const CCursorOptionsDlg& dialog)
{
    return static_cast<QLabel*>(dialog.Control(1063))->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(CursorOptionsDialog, OkWritesTheNineFieldsAndCancelNothing)
{
    AviRecordOptions options;
    std::string folder;
    auto choose = [](CCursorOptionsDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Cursor Options");
        ASSERT_TRUE(dialog.previewCursor()); // the screen's cursor
        EXPECT_EQ(dialog.previewCursor()->image.width, 8);
        auto* list = static_cast<QComboBox*>(dialog.Control(1054));
        EXPECT_EQ(list->count(), 34);
        EXPECT_EQ(list->itemText(5), "TOP OF TABLE");
        auto* shapes = static_cast<QComboBox*>(dialog.Control(1061));
        EXPECT_EQ(shapes->count(), 4);
        EXPECT_EQ(shapes->itemText(HIGHLIGHT_ELLIPSE), "Ellipse");
        EXPECT_EQ(shapes->itemText(HIGHLIGHT_RECTANGLE), "Rectangle");
        Click(dialog, 1052);
        list->setCurrentIndex(24); // PEN1
        ASSERT_TRUE(dialog.previewCursor());
        EXPECT_EQ(dialog.previewCursor()->hotX, 2);
        EXPECT_EQ(dialog.previewCursor()->hotY, 29);
        static_cast<QCheckBox*>(dialog.Control(1057))->setChecked(true);
        static_cast<QSlider*>(dialog.Control(1058))->setValue(100);
        static_cast<QComboBox*>(dialog.Control(1061))->setCurrentIndex(HIGHLIGHT_RECTANGLE);
        Click(dialog, 1049); // hidden, yet OK keeps the chosen picture
        EXPECT_FALSE(dialog.previewCursor());
    };
    {
        CCursorOptionsDlg dialog(nullptr, options, folder, FakeScreenCursor);
        choose(dialog);
        dialog.reject();
    }
    EXPECT_EQ(options.recordCursor, 1);
    EXPECT_EQ(options.cursorType, CURSOR_ACTUAL);
    EXPECT_EQ(options.customCursorIndex, 0);
    EXPECT_FALSE(options.customCursor);
    EXPECT_EQ(options.highlightCursor, 0);
    EXPECT_EQ(options.highlightSize, 64);

    CCursorOptionsDlg dialog(nullptr, options, folder, FakeScreenCursor);
    choose(dialog);
    Click(dialog, 1);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(options.recordCursor, 0);
    EXPECT_EQ(options.cursorType, CURSOR_CUSTOM);
    EXPECT_EQ(options.customCursorIndex, 24);
    ASSERT_TRUE(options.customCursor);
    EXPECT_EQ(options.customCursor->image.width, 32);
    EXPECT_EQ(options.customCursor->hotX, 2);
    EXPECT_EQ(options.customCursor->hotY, 29);
    EXPECT_FALSE(options.fileCursor);
    EXPECT_EQ(options.highlightCursor, 1);
    EXPECT_EQ(options.highlightSize, 100);
    EXPECT_EQ(options.highlightShape, HIGHLIGHT_RECTANGLE);
    EXPECT_EQ(options.highlightColor, 0x7DFFFFu);

    // The next opening shows what OK left.
    CCursorOptionsDlg again(nullptr, options, folder, FakeScreenCursor);
    EXPECT_TRUE(static_cast<QRadioButton*>(again.Control(1049))->isChecked());
    EXPECT_TRUE(static_cast<QRadioButton*>(again.Control(1052))->isChecked());
    EXPECT_EQ(static_cast<QComboBox*>(again.Control(1054))->currentIndex(), 24);
    EXPECT_EQ(static_cast<QSlider*>(again.Control(1058))->value(), 100);
}

TEST(CursorOptionsDialog, EachChoiceEnablesItsOwnControls)
{
    AviRecordOptions options;
    options.recordCursor = 0;
    options.cursorType = CURSOR_FILE;
    std::string folder;
    CCursorOptionsDlg dialog(nullptr, options, folder, FakeScreenCursor);
    for (int id : {1051, 1052, 1053, 1054, 1055})
        EXPECT_FALSE(Enabled(dialog, id)) << id;
    for (int id : {1058, 1059, 1060, 1061, 1062, 1063})
        EXPECT_FALSE(Enabled(dialog, id)) << id;
    EXPECT_FALSE(dialog.previewCursor());

    Click(dialog, 1050); // shown: the radios, and "..." for the file type only
    for (int id : {1051, 1052, 1053, 1055})
        EXPECT_TRUE(Enabled(dialog, id)) << id;
    EXPECT_FALSE(Enabled(dialog, 1054));
    EXPECT_FALSE(dialog.previewCursor()); // no file loaded yet
    Click(dialog, 1052);
    EXPECT_TRUE(Enabled(dialog, 1054));
    EXPECT_FALSE(Enabled(dialog, 1055));
    EXPECT_TRUE(dialog.previewCursor());
    Click(dialog, 1051);
    EXPECT_FALSE(Enabled(dialog, 1054));
    EXPECT_FALSE(Enabled(dialog, 1055));
    EXPECT_EQ(dialog.previewCursor()->image.height, 12);

    static_cast<QCheckBox*>(dialog.Control(1057))->setChecked(true);
    for (int id : {1058, 1059, 1060, 1061, 1062, 1063})
        EXPECT_TRUE(Enabled(dialog, id)) << id;
}

TEST(CursorOptionsDialog, FileCursorsLoadWhenTheyReadAndTheFolderIsRemembered)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string base = dir.path().toStdString();
    std::filesystem::create_directory(base + "/a");
    std::filesystem::create_directory(base + "/b");
    WriteFile(base + "/a/ARROW.CUR", CursorFile(32, 4, 6));
    WriteFile(base + "/b/busy.ani", CursorFile(32, 4, 6));
    Bytes broken = CursorFile(32, 4, 6);
    broken.resize(100);
    WriteFile(base + "/b/broken.cur", broken);

    AviRecordOptions options;
    options.cursorType = CURSOR_FILE;
    std::string folder;
    CCursorOptionsDlg dialog(nullptr, options, folder, FakeScreenCursor);
    EXPECT_TRUE(dialog.LoadCursorFile(QString::fromStdString(base + "/a/ARROW.CUR")));
    EXPECT_EQ(folder, base + "/a");
    ASSERT_TRUE(dialog.previewCursor());
    EXPECT_EQ(dialog.previewCursor()->hotX, 4);
    EXPECT_EQ(dialog.previewCursor()->hotY, 6);

    // Refused with a message; the loaded cursor stays, the folder moves on.
    for (const char* name : {"/b/busy.ani", "/b/broken.cur", "/b/missing.cur"}) {
        QString shown;
        bool loaded = true;
        EXPECT_TRUE(Answering([&] { loaded = dialog.LoadCursorFile(QString::fromStdString(base + name)); },
                              [&](QWidget* modal) {
                                  auto* box = qobject_cast<QMessageBox*>(modal);
                                  ASSERT_TRUE(box);
                                  shown = box->text();
                                  box->done(QMessageBox::Ok);
                              }))
            << name;
        EXPECT_FALSE(loaded) << name;
        EXPECT_TRUE(shown.contains(QString(name).mid(3))) << shown.toStdString();
        EXPECT_EQ(folder, base + "/b");
        ASSERT_TRUE(dialog.previewCursor());
        EXPECT_EQ(dialog.previewCursor()->hotY, 6);
    }
    Click(dialog, 1);
    ASSERT_TRUE(options.fileCursor);
    EXPECT_EQ(options.fileCursor->image.width, 32);
    EXPECT_EQ(options.fileCursor->hotX, 4);
}

TEST(CursorOptionsDialog, HighlightPreviewFollowsSizeShapeAndColour)
{
    AviRecordOptions options;
    options.highlightCursor = 1;
    options.highlightSize = 128;
    options.highlightShape = HIGHLIGHT_SQUARE;
    std::string folder;
    CCursorOptionsDlg dialog(nullptr, options, folder, FakeScreenCursor);
    const QRgb yellow = qRgb(255, 255, 125), grey = qRgb(192, 192, 192);
    QImage shown = HighlightShown(dialog);
    ASSERT_EQ(shown.size(), QSize(64, 64));
    EXPECT_EQ(shown.pixel(0, 0), yellow);
    EXPECT_EQ(shown.pixel(63, 63), yellow);

    static_cast<QSlider*>(dialog.Control(1058))->setValue(100);
    static_cast<QComboBox*>(dialog.Control(1061))->setCurrentIndex(HIGHLIGHT_ELLIPSE);
    shown = HighlightShown(dialog);
    int left = 64, right = -1, top = 64, bottom = -1;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            if (shown.pixel(x, y) == yellow) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    EXPECT_EQ(right - left + 1, 50);
    EXPECT_EQ(bottom - top + 1, 25);

    // "Color" starts from the copy's colour; the one chosen fills the shape.
    QColor offered;
    EXPECT_TRUE(Answering([&] { Click(dialog, 1062); },
                          [&](QWidget* modal) {
                              auto* picker = qobject_cast<QColorDialog*>(modal);
                              ASSERT_TRUE(picker);
                              offered = picker->currentColor();
                              picker->setCurrentColor(QColor(0, 0, 255));
                              picker->accept();
                          }));
    EXPECT_EQ(offered, QColor(255, 255, 125));
    EXPECT_EQ(HighlightShown(dialog).pixel(32, 32), qRgb(0, 0, 255));

    static_cast<QCheckBox*>(dialog.Control(1057))->setChecked(false);
    EXPECT_EQ(HighlightShown(dialog).pixel(32, 32), grey);
    Click(dialog, 1);
    EXPECT_EQ(options.highlightColor, 0xFF0000u); // blue, red in the low byte
    EXPECT_EQ(options.highlightCursor, 0);
}

TEST(CursorOptionsDialog, EveryBuiltInPictureIsDrawnAroundItsHotSpot)
{
    for (int i = 0; i < int(kBuiltInCursors.size()); ++i) {
        const auto cursor = BuiltInCursorImage(i);
        ASSERT_TRUE(cursor) << i;
        ASSERT_EQ(cursor->image.width, 32);
        // Something drawn within two pixels of the hot spot: it points where it shows.
        bool near = false;
        for (int y = cursor->hotY - 2; y <= cursor->hotY + 2; ++y)
            for (int x = cursor->hotX - 2; x <= cursor->hotX + 2; ++x)
                if (x >= 0 && y >= 0 && x < 32 && y < 32 && AlphaOf(cursor->image.at(x, y)) >= 128)
                    near = true;
        EXPECT_TRUE(near) << kBuiltInCursors[size_t(i)].name;
        // A transparent background: the corners are not all drawn.
        const Bitmap& b = cursor->image;
        EXPECT_LT(AlphaOf(b.at(0, 0)) + AlphaOf(b.at(31, 0)) + AlphaOf(b.at(0, 31)) + AlphaOf(b.at(31, 31)), 4 * 255)
            << kBuiltInCursors[size_t(i)].name;
    }
    EXPECT_FALSE(BuiltInCursorImage(34));
    EXPECT_FALSE(BuiltInCursorImage(-1));
}

TEST(CursorOptionsDialog, TheAviDialogOpensItOnItsOptions)
{
    AviRecordOptions options;
    CaptureLibrary library(g_captureLists);
    CAviCaptureDlg avi(nullptr, options, library);
    auto* button = static_cast<QPushButton*>(avi.Control(1015));
    ASSERT_TRUE(button->isEnabled());
    EXPECT_TRUE(Answering([&] { button->click(); },
                          [&](QWidget* modal) {
                              auto* dialog = qobject_cast<CCursorOptionsDlg*>(modal);
                              ASSERT_TRUE(dialog);
                              static_cast<QRadioButton*>(dialog->Control(1049))->click();
                              dialog->accept();
                          }));
    EXPECT_EQ(options.recordCursor, 0);
}
