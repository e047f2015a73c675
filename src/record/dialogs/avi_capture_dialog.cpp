#include "record/dialogs/avi_capture_dialog.h"

#include "base/desktop_entry.h"
#include "base/trace.h"
#include "i18n/translate.h"
#include "library/model/capture_library.h"
#include "platform/qt/key_names.h"
#include "record/core/record_geometry.h"
#include "record/core/recording_status.h"
#include "record/dialogs/cursor_options_dialog.h"
#include "record/dialogs/flashing_window.h"
#include "ui/record_region_window.h"
#include "record/dialogs/slider_style.h"
#include "record/dialogs/video_options_dialog.h"
#include "settings/env.h"
#include "ui/dialog_texts.h"
#include "ui/modal_run.h"
#include "ui/pictures/pictures.h"
#include "ui/tray_notify_icon.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

namespace vistrel {

namespace {

enum ControlId : int {
    IDC_CLOSE = 2,
    IDC_CURSOR_OPTIONS = 1015,
    IDC_VIDEO_OPTIONS = 1021,
    IDC_AUTO_PAN = 1023,
    IDC_PAN_SPEED = 1024,
    IDC_MINIMIZE = 1025,
    IDC_HIDE_FLASHING = 1026,
    IDC_PLAY = 1027,
    IDC_CUSTOM = 1028,
    IDC_FIXED = 1029,
    IDC_WIDTH = 1031,
    IDC_HEIGHT = 1032,
    IDC_SELECT_REGION = 1033,
    IDC_FULL_SCREEN = 1034,
    IDC_START = 1035,
    IDC_STOP = 1036,
    IDC_PAN_SPEED_VALUE = 1037,
    IDC_WIDTH_LABEL = 1064,
    IDC_HEIGHT_LABEL = 1065,
    IDC_REGION_GROUP = 1066,
    IDC_PAN_SPEED_LABEL = 1067,
    IDC_PRIORITY = 1083,
    IDC_STOP_HINT = 1149,
    IDC_OPTIONS_GROUP = 1181,
    IDC_CAPTURE_REGION_GROUP = 1182,
    IDC_PRIORITY_LABEL = 1183,
};

constexpr int kRegionGroup[] = {IDC_REGION_GROUP, IDC_WIDTH_LABEL, IDC_HEIGHT_LABEL,
                                IDC_WIDTH,        IDC_HEIGHT,      IDC_SELECT_REGION};

// The open dialog, for the AVI hotkey.
QPointer<CAviCaptureDlg> g_openDialog;

QString Qs(const std::string& text) { return QString::fromStdString(text); }

// How often the tray tip and the status bar tell how the recording goes.
constexpr int kStatusIntervalMs = 1000;

void ScreenSize(int& width, int& height)
{
    std::string error;
    if (ReadScreenSize(width, height, error))
        return;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->size() * screen->devicePixelRatio() : QSize(0, 0);
    width = size.width();
    height = size.height();
}

} // namespace

AviRecordOptions& RunRecordOptions()
{
    static AviRecordOptions options; // kept for the run, never saved
    return options;
}

void RunAviCaptureDialog(QWidget* parent, CaptureLibrary& library, RecordingStatusSink status)
{
    CAviCaptureDlg dialog(parent, RunRecordOptions(), library);
    dialog.SetStatusSink(std::move(status));
    RunModal(dialog); // hidden while it records, it stays open
}

bool StopRunningRecording()
{
    if (!g_openDialog)
        return false;
    if (g_openDialog->phase() == CAviCaptureDlg::Phase::Busy)
        g_openDialog->OnStop();
    else if (g_openDialog->isVisible()) {
        g_openDialog->raise();
        g_openDialog->activateWindow();
    }
    return true;
}

CAviCaptureDlg::CAviCaptureDlg(QWidget* parent, AviRecordOptions& options, CaptureLibrary& library)
    : QDialog(parent), m_options(options), m_library(library),
      m_autoPan(new QCheckBox("&Enable Auto Pan", this)), m_panSpeed(new QSlider(Qt::Horizontal, this)),
      m_panSpeedValue(new QLabel(this)), m_panSpeedLabel(new QLabel("Autopan speed:", this)),
      m_minimize(new QCheckBox("&Minimize program on start recording", this)),
      m_hideFlashing(new QCheckBox("H&ide flashing window during recording", this)),
      m_play(new QCheckBox("&Play AVI file with default player when finish recording", this)),
      m_custom(new QRadioButton("C&ustomed region capture on start recording", this)),
      m_fixed(new QRadioButton("Fi&xed region capture", this)),
      m_fullScreen(new QRadioButton("&Full screen capture", this)), m_width(new QSpinBox(this)),
      m_height(new QSpinBox(this)), m_priority(new QComboBox(this)), m_start(new QPushButton("Start", this)),
      m_stop(new QPushButton("Stop", this)), m_close(new QPushButton("Close", this)), m_statusTimer(new QTimer(this))
{
    g_openDialog = this;
    m_flashing = std::make_unique<CFlashingWnd>();
    m_follower = std::make_unique<CFlashingFollower>(*m_flashing, [this] { return m_options.showFlashingFrame == 1; });
    m_selector = std::make_unique<CRecordRegionWnd>(this);
    theEnv.UnregisterHotkeys(true);
    setObjectName("aviCaptureDialog");
    setWindowTitle("AVI Capture");
    setWindowIcon(ApplicationIcon());

    // A new opening starts again from the default compressor; the video
    // options choose another for this opening.
    m_options.compressorFourCC = kDefaultCompressorFourCC;
    m_options.compressorIndex = -1;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        m_options.bitsPerPixel = std::clamp(screen->depth(), 8, 32);

    QGroupBox* optionsGroup = BuildOptionsGroup();
    QGroupBox* regionGroup = BuildRegionGroup();
    QLayout* priorityRow = BuildPriorityRow();
    QLayout* buttonRow = BuildButtonRow();
    NameControls(m_controls);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(optionsGroup);
    layout->addWidget(regionGroup);
    layout->addLayout(priorityRow);
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    TranslateDialogWidgets(*this, DialogId::AviCapture, m_controls);
    m_stopHint->setText(Qs(ReplaceHotkeyPlaceholder(m_stopHint->text().toStdString(),
                                                    HotkeyToText(theEnv.m_hkAvi, NativeKeyName))));

    SetRegionMode(m_options.regionMode);
    UpdateAutoPan();
    SetPhase(Phase::Idle);
    ConnectControls();
}

QGroupBox* CAviCaptureDlg::BuildOptionsGroup()
{
    auto* group = new QGroupBox("Options", this);
    m_videoOptions = new QPushButton("&Video Option...", group);
    m_cursorOptions = new QPushButton("Cursor &Option...", group);
    m_panSpeedLabel->setBuddy(m_panSpeed);
    m_controls.insert({
        {IDC_OPTIONS_GROUP, group},
        {IDC_VIDEO_OPTIONS, m_videoOptions},
        {IDC_CURSOR_OPTIONS, m_cursorOptions},
        {IDC_AUTO_PAN, m_autoPan},
        {IDC_PAN_SPEED_LABEL, m_panSpeedLabel},
        {IDC_PAN_SPEED, m_panSpeed},
        {IDC_PAN_SPEED_VALUE, m_panSpeedValue},
        {IDC_MINIMIZE, m_minimize},
        {IDC_HIDE_FLASHING, m_hideFlashing},
        {IDC_PLAY, m_play},
    });

    m_panSpeed->setRange(kMinAutoPanSpeed, kMaxAutoPanSpeed);
    m_panSpeed->setValue(std::clamp(m_options.autoPanSpeed, kMinAutoPanSpeed, kMaxAutoPanSpeed));
    m_panSpeed->setStyleSheet(kRecorderSliderStyle);
    m_panSpeedValue->setMinimumWidth(fontMetrics().horizontalAdvance("0000"));
    m_panSpeedValue->setNum(m_panSpeed->value());
    auto* grid = new QGridLayout(group);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_videoOptions);
    buttons->addWidget(m_cursorOptions);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 0, 1, 3);
    grid->addWidget(m_autoPan, 1, 0, 1, 3);
    grid->addWidget(m_panSpeedLabel, 2, 0);
    grid->addWidget(m_panSpeed, 2, 1);
    grid->addWidget(m_panSpeedValue, 2, 2);
    grid->addWidget(m_minimize, 3, 0, 1, 3);
    grid->addWidget(m_hideFlashing, 4, 0, 1, 3);
    grid->addWidget(m_play, 5, 0, 1, 3);
    grid->setColumnStretch(1, 1);

    m_autoPan->setChecked(m_options.autoPan != 0);
    m_hideFlashing->setChecked(m_options.showFlashingFrame != 1);
    m_play->setChecked(m_options.playWhenFinished == 1);
    m_minimize->setChecked(false);
    return group;
}

QGroupBox* CAviCaptureDlg::BuildRegionGroup()
{
    auto* group = new QGroupBox("Capture Region", this);
    auto* fixedGroup = new QGroupBox("Region", group);
    auto* widthLabel = new QLabel("&Width:", fixedGroup);
    auto* heightLabel = new QLabel("&Height:", fixedGroup);
    m_selectRegion = new QPushButton("&Select Region", fixedGroup);
    widthLabel->setBuddy(m_width);
    heightLabel->setBuddy(m_height);
    m_controls.insert({
        {IDC_CAPTURE_REGION_GROUP, group},
        {IDC_CUSTOM, m_custom},
        {IDC_FIXED, m_fixed},
        {IDC_REGION_GROUP, fixedGroup},
        {IDC_WIDTH_LABEL, widthLabel},
        {IDC_WIDTH, m_width},
        {IDC_HEIGHT_LABEL, heightLabel},
        {IDC_HEIGHT, m_height},
        {IDC_SELECT_REGION, m_selectRegion},
        {IDC_FULL_SCREEN, m_fullScreen},
    });

    for (QSpinBox* field : {m_width, m_height})
        field->setRange(1, 100000);
    m_width->setValue(std::max(1, m_options.fixedWidth));
    m_height->setValue(std::max(1, m_options.fixedHeight));
    auto* fixedGrid = new QGridLayout(fixedGroup);
    fixedGrid->addWidget(widthLabel, 0, 0);
    fixedGrid->addWidget(m_width, 0, 1);
    fixedGrid->addWidget(heightLabel, 0, 2);
    fixedGrid->addWidget(m_height, 0, 3);
    fixedGrid->addWidget(m_selectRegion, 0, 4);
    auto* box = new QVBoxLayout(group);
    box->addWidget(m_custom);
    box->addWidget(m_fixed);
    box->addWidget(fixedGroup);
    box->addWidget(m_fullScreen);
    return group;
}

QLayout* CAviCaptureDlg::BuildPriorityRow()
{
    auto* label = new QLabel("&Run Priority:", this);
    label->setBuddy(m_priority);
    m_controls.insert({{IDC_PRIORITY_LABEL, label}, {IDC_PRIORITY, m_priority}});

    m_priority->addItems({"Heighest", "Heigher", "Heigh", "Normal", "Low", "Lowest"});
    m_priority->setCurrentIndex(3);
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(m_priority);
    row->addStretch();
    return row;
}

QLayout* CAviCaptureDlg::BuildButtonRow()
{
    m_stopHint = new QLabel("Press %s to stop recording", this);
    m_controls.insert({
        {IDC_STOP_HINT, m_stopHint},
        {IDC_START, m_start},
        {IDC_STOP, m_stop},
        {IDC_CLOSE, m_close},
    });

    auto* row = new QHBoxLayout;
    row->addWidget(m_stopHint, 1);
    row->addWidget(m_start);
    row->addWidget(m_stop);
    row->addWidget(m_close);
    return row;
}

void CAviCaptureDlg::ConnectControls()
{
    connect(m_autoPan, &QCheckBox::toggled, this, [this](bool on) {
        m_options.autoPan = on ? 1 : 0;
        UpdateAutoPan();
    });
    connect(m_panSpeed, &QSlider::valueChanged, m_panSpeedValue, qOverload<int>(&QLabel::setNum));
    connect(m_hideFlashing, &QCheckBox::toggled, this, [this](bool hide) {
        m_options.showFlashingFrame = hide ? 0 : 1;
        m_follower->Update(); // also during a recording
    });
    connect(m_play, &QCheckBox::toggled, this, [this](bool play) { m_options.playWhenFinished = play ? 1 : 0; });
    connect(m_custom, &QRadioButton::clicked, this, [this] { SetRegionMode(REGION_CUSTOM); });
    connect(m_fixed, &QRadioButton::clicked, this, [this] { SetRegionMode(REGION_FIXED); });
    connect(m_fullScreen, &QRadioButton::clicked, this, [this] { SetRegionMode(REGION_FULLSCREEN); });
    connect(m_videoOptions, &QPushButton::clicked, this, [this] {
        CVideoOptionsDlg dialog(this, m_options, ffmpeg::InstalledCompressors());
        dialog.exec();
    });
    connect(m_cursorOptions, &QPushButton::clicked, this, [this] {
        CCursorOptionsDlg dialog(this, m_options, RunCursorFolder());
        dialog.exec();
    });
    connect(m_selectRegion, &QPushButton::clicked, this, &CAviCaptureDlg::OnSelectRegion);
    connect(m_start, &QPushButton::clicked, this, &CAviCaptureDlg::OnStart);
    connect(m_stop, &QPushButton::clicked, this, &CAviCaptureDlg::OnStop);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_statusTimer, &QTimer::timeout, this, &CAviCaptureDlg::ShowRecordingStatus);
}

CAviCaptureDlg::~CAviCaptureDlg()
{
    m_recorder.reset(); // stops and waits; its last queued calls die with this object
    EndRecordingStatus();
    m_follower.reset();
    m_flashing.reset();
    m_selector.reset();
    m_tray.reset();
    theEnv.RegisterHotkeys(true);
}

QWidget* CAviCaptureDlg::Control(int id) const
{
    const auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : found->second;
}

void CAviCaptureDlg::reject()
{
    // Escape or the title bar's close button during a recording is refused:
    // the dialog must outlive the recording it controls.
    if (m_phase == Phase::Idle)
        QDialog::reject();
}

void CAviCaptureDlg::SetPhase(Phase phase)
{
    m_phase = phase;
    m_start->setEnabled(phase == Phase::Idle);
    m_close->setEnabled(phase == Phase::Idle);
    m_stop->setEnabled(phase == Phase::Busy);
    // Enter does the next thing to do: Start, then Stop.
    QPushButton* next = phase == Phase::Busy ? m_stop : phase == Phase::Idle ? m_start : nullptr;
    for (QPushButton* button : {m_start, m_stop, m_close})
        button->setDefault(button == next);
    if (next)
        next->setFocus();
}

void CAviCaptureDlg::SetRegionMode(int mode)
{
    m_options.regionMode = mode;
    m_custom->setChecked(mode == REGION_CUSTOM);
    m_fixed->setChecked(mode == REGION_FIXED);
    m_fullScreen->setChecked(mode != REGION_CUSTOM && mode != REGION_FIXED);
    for (int id : kRegionGroup)
        Control(id)->setEnabled(mode == REGION_FIXED);
}

void CAviCaptureDlg::UpdateAutoPan()
{
    m_panSpeed->setEnabled(m_autoPan->isChecked());
    m_panSpeedLabel->setEnabled(m_autoPan->isChecked());
}

void CAviCaptureDlg::OnStart()
{
    if (m_phase != Phase::Idle)
        return;
    m_options.fixedWidth = m_width->value();
    m_options.fixedHeight = m_height->value();
    m_options.autoPanSpeed = m_panSpeed->value();
    m_options.showFlashingFrame = m_hideFlashing->isChecked() ? 0 : 1;
    m_options.runPriority = RunPriorityFromIndex(m_priority->currentIndex());
    SetPhase(Phase::Busy);

    m_minimized = m_minimize->isChecked();
    if (m_minimized) {
        if (QWidget* main = parentWidget())
            main->window()->hide();
        hide();
    }
    auto chosen = [this](std::optional<RecordRegion> region) { OnRegionChosen(region); };
    if (m_options.regionMode == REGION_FIXED) {
        m_selector->BeginFixed(m_options.fixedWidth, m_options.fixedHeight, chosen);
    } else if (m_options.regionMode == REGION_CUSTOM) {
        m_selector->BeginCustom(chosen);
    } else {
        int screenWidth = 0, screenHeight = 0;
        ScreenSize(screenWidth, screenHeight);
        m_region = FullScreenRegion(screenWidth, screenHeight);
        StartRecording(m_region);
    }
}

void CAviCaptureDlg::OnRegionChosen(std::optional<RecordRegion> region)
{
    if (!region || m_phase != Phase::Busy) {
        // Cancelled: the dialog stays started until Stop, but in sight, so
        // that Stop can be reached.
        ShowWindowsAgain();
        return;
    }
    m_region = *region;
    StartRecording(m_region);
}

void CAviCaptureDlg::OnSelectRegion()
{
    if (m_phase != Phase::Idle || m_selector->selecting())
        return;
    m_selector->BeginCustom([this](std::optional<RecordRegion> region) {
        if (!region)
            return;
        Trace("region selected " + std::to_string(region->width()) + "x" + std::to_string(region->height()));
        m_width->setValue(int(std::min<int64_t>(region->width(), m_width->maximum())));
        m_height->setValue(int(std::min<int64_t>(region->height(), m_height->maximum())));
        m_options.fixedWidth = m_width->value();
        m_options.fixedHeight = m_height->value();
    });
}

void CAviCaptureDlg::StartRecording(const RecordRegion& region)
{
    m_tray.reset();
    const std::string stopText = RecordingTrayMenuText(Translator::Current(), theEnv, NativeKeyName);
    m_tray = std::make_unique<CTrayNotifyIcon>(
        kRecordTrayId,
        [stopText] { return CTrayNotifyIcon::MenuEntries{{ID_STOP_RECORDING, Qs(stopText)}}; },
        [this](int command) {
            if (command == ID_STOP_RECORDING)
                OnStop();
        });
    m_tray->Create("Vistrel-AVI Recording...", RecordingTrayIcon());

    if (!m_recorder)
        m_recorder = std::make_unique<AviRecorder>();
    m_recorder->Wait(); // a recording that ended by itself may still be leaving
    // The dialog outlives the worker (its destructor waits for it), and a call
    // queued to it is dropped should it be gone before the call runs.
    RecordCallbacks callbacks;
    callbacks.finished = [dialog = this](const RecordEnd& end) {
        QMetaObject::invokeMethod(
            dialog, [dialog, end] { dialog->OnRecordingFinished(end); }, Qt::QueuedConnection);
    };
    // The frame appears around the area the first grab takes.
    callbacks.grabWatch = m_follower->Begin(m_options.autoPan != 0);
    const RecordStart start = m_recorder->Start(m_options, region, theEnv, std::move(callbacks));
    if (start.started) {
        m_recordingPath = start.path;
        m_recordingSince = std::chrono::steady_clock::now();
        m_statusFormat = DialogText(DialogId::AviCapture, kRecordingStatusKey);
        ShowRecordingStatus();
        m_statusTimer->start(kStatusIntervalMs);
    } else {
        m_follower->End();
        m_tray.reset();
        ShowWindowsAgain();
        QMessageBox::warning(this, "Error", Qs("Error Creating AVI File\n\n" + start.error));
    }
}

void CAviCaptureDlg::OnStop()
{
    if (m_phase != Phase::Busy)
        return;
    if (m_selector->selecting())
        m_selector->Cancel();
    if (m_recorder && m_recorder->state() != RecordState::Idle) {
        SetPhase(Phase::Ending);
        m_recorder->Stop(); // finished arrives as a queued call and ends the phase
        return;
    }
    m_tray.reset();
    EndRecordingStatus();
    ShowWindowsAgain();
    SetPhase(Phase::Idle);
}

void CAviCaptureDlg::ShowWindowsAgain()
{
    if (!m_minimized)
        return;
    m_minimized = false;
    if (QWidget* main = parentWidget())
        main->window()->show();
    show();
    raise();
    activateWindow();
}

void CAviCaptureDlg::ShowRecordingStatus()
{
    const auto elapsedMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_recordingSince);
    std::error_code ec;
    const std::uintmax_t bytes = std::filesystem::file_size(m_recordingPath, ec);
    const QString text =
        QString(m_statusFormat).arg(Qs(ElapsedText(elapsedMs.count())), Qs(RecordedSizeText(ec ? 0 : bytes)));
    if (m_tray)
        m_tray->SetTip(text);
    if (m_statusSink)
        m_statusSink(text.toStdString());
    Trace("recording status " + text.toStdString());
}

void CAviCaptureDlg::EndRecordingStatus()
{
    if (!m_statusTimer->isActive())
        return;
    m_statusTimer->stop();
    if (m_statusSink)
        m_statusSink({});
}

void CAviCaptureDlg::OnRecordingFinished(const RecordEnd& end)
{
    EndRecordingStatus();
    m_follower->End();
    m_tray.reset();
    ShowWindowsAgain();
    m_recorder->Wait();
    // Only a file that is there goes on the list: an empty recording leaves none.
    std::error_code ec;
    if (!end.path.empty() && std::filesystem::is_regular_file(end.path, ec)) {
        m_lastPath = end.path;
        m_library.Append(FOLDER_AVI, end.path);
    }
    const bool stopping = m_phase == Phase::Ending;
    if (stopping || end.ok)
        SetPhase(Phase::Idle);
    if (end.ok) {
        if (m_options.playWhenFinished == 1)
            Play(end.path);
    } else if (!stopping || !end.error.empty()) {
        if (end.compressor != kDefaultCompressorFourCC && m_phase == Phase::Busy) {
            const auto answer = QMessageBox::question(
                this, "Note", "Error recording AVI file using current compressor. Use default compressor ? ",
                QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
            if (answer == QMessageBox::Yes && m_phase == Phase::Busy) {
                m_options.compressorFourCC = kDefaultCompressorFourCC;
                StartRecording(m_region);
            }
        } else {
            QMessageBox::warning(this, "Error", Qs("Error Creating AVI File\n\n" + end.error));
        }
    }
    emit recordingEnded(end.ok);
}

void CAviCaptureDlg::Play(const std::string& path)
{
    const std::string player = theEnv.GetDefaultAviPlayer();
    // The player is a program or a desktop entry's Exec line, as the AVI tools are.
    if (StartToolOn(player, path))
        return;
    // Named, so that the user can open the file some other way.
    const std::filesystem::path file(path);
    const QString text = DialogText(DialogId::AviCapture, kPlayerFailedKey)
                             .arg(Qs(file.filename().string()), Qs(file.parent_path().string()));
    Trace("player not started: " + text.toStdString());
    QMessageBox::warning(this, "Note", text);
}

} // namespace vistrel
