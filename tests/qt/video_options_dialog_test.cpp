#include "record/dialogs/video_options_dialog.h"
#include "qt_test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include <gtest/gtest.h>

using namespace vistrel;

namespace {

std::vector<ffmpeg::CompressorInfo> Compressors()
{
    return {{MakeFourCC('m', 's', 'v', 'c'), "Video 1 (lower case)"},
            {kFourCCMsvc, "Microsoft Video 1"},
            {MakeFourCC('Z', 'M', 'B', 'V'), ""}};
}

// Presses OK and returns the message it showed (closing it), or "" when the dialog closed.
QString PressOk(CVideoOptionsDlg& dialog)
{
    return test::AcceptingMessageBoxes([&] { dialog.accept(); });
}

void SetFields(CVideoOptionsDlg& dialog, const char* keys, const char* interval, const char* rate)
{
    static_cast<QLineEdit*>(dialog.Control(1044))->setText(keys);
    static_cast<QLineEdit*>(dialog.Control(1046))->setText(interval);
    static_cast<QLineEdit*>(dialog.Control(1047))->setText(rate);
}

} // namespace

TEST(VideoOptionsDialog, ShowsTheOptionsAndWritesThemOnlyWhenAllAreInRange)
{
    AviRecordOptions options;
    options.quality = 6599;
    options.compressorFourCC = kFourCCMsvc;
    CVideoOptionsDlg dialog(nullptr, options, Compressors());
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Video Options");
    auto* list = static_cast<QComboBox*>(dialog.Control(1039));
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(list->currentIndex(), 1); // the exact code, not the one in other letters
    EXPECT_TRUE(dialog.Control(1040)->isEnabled());
    EXPECT_EQ(static_cast<QLabel*>(dialog.Control(1043))->text(), "65");
    EXPECT_EQ(static_cast<QLineEdit*>(dialog.Control(1044))->text(), "20");
    EXPECT_EQ(static_cast<QLineEdit*>(dialog.Control(1046))->text(), "50");
    EXPECT_EQ(static_cast<QLineEdit*>(dialog.Control(1047))->text(), "20");
    list->setCurrentIndex(2);
    EXPECT_FALSE(dialog.Control(1040)->isEnabled()); // no description: nothing to tell

    SetFields(dialog, "0", "-1", "201");
    EXPECT_EQ(PressOk(dialog), "Timelapse for each frame cannot be less than 0 milliseconds.");
    SetFields(dialog, "0", "7200001", "201");
    EXPECT_EQ(PressOk(dialog), "Timelapse for each frame cannot be more than 7200000 milliseconds (2 hours).");
    SetFields(dialog, "0", "7200000", "201");
    EXPECT_EQ(PressOk(dialog),
              "Key frames cannot be set for every 0 frames. Please enter a value in the range 1 to 200.");
    SetFields(dialog, "200", "0", "201");
    EXPECT_EQ(PressOk(dialog),
              "Playback Rate cannot be set to 201 frames per second. Please enter a value in the range 1 to 200.");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(options.keyFrameEvery, 20);
    EXPECT_EQ(options.captureIntervalMs, 50);
    EXPECT_EQ(options.compressorFourCC, kFourCCMsvc);

    SetFields(dialog, "200", "0", "1");
    static_cast<QSlider*>(dialog.Control(1041))->setValue(1);
    EXPECT_EQ(static_cast<QLabel*>(dialog.Control(1043))->text(), "1");
    EXPECT_EQ(PressOk(dialog), "");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(options.keyFrameEvery, 200);
    EXPECT_EQ(options.captureIntervalMs, 0);
    EXPECT_EQ(options.playbackFps, 1);
    EXPECT_EQ(options.quality, 100);
    EXPECT_EQ(options.compressorFourCC, MakeFourCC('Z', 'M', 'B', 'V'));
    EXPECT_EQ(options.compressorIndex, 2);
}

TEST(VideoOptionsDialog, AnUnlistedCompressorGivesWayToTheFirstEvenOnCancel)
{
    AviRecordOptions options;
    options.compressorFourCC = MakeFourCC('X', 'V', 'I', 'D');
    {
        CVideoOptionsDlg dialog(nullptr, options, Compressors());
        EXPECT_EQ(static_cast<QComboBox*>(dialog.Control(1039))->currentIndex(), 0);
        dialog.reject();
    }
    EXPECT_EQ(options.compressorFourCC, MakeFourCC('m', 's', 'v', 'c'));
    EXPECT_EQ(options.compressorIndex, -1);

    // No compressor at all: OK keeps the compressor as it was.
    CVideoOptionsDlg empty(nullptr, options, {});
    EXPECT_FALSE(empty.Control(1040)->isEnabled());
    EXPECT_EQ(PressOk(empty), "");
    EXPECT_EQ(options.compressorFourCC, MakeFourCC('m', 's', 'v', 'c'));
}
