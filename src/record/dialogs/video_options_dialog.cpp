#include "record/dialogs/video_options_dialog.h"

#include "record/core/video_options_fields.h"
#include "record/dialogs/slider_style.h"
#include "ui/dialog_texts.h"
#include "ui/pictures/pictures.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

namespace vistrel {

namespace {

enum ControlId : int {
    IDC_OK = 1,
    IDC_CANCEL = 2,
    IDC_COMPRESSOR = 1039,
    IDC_ABOUT = 1040,
    IDC_QUALITY = 1041,
    IDC_QUALITY_LABEL = 1042,
    IDC_QUALITY_VALUE = 1043,
    IDC_KEY_FRAMES = 1044,
    IDC_KEY_FRAMES_UNIT = 1045,
    IDC_INTERVAL = 1046,
    IDC_RATE = 1047,
    IDC_INTERVAL_UNIT = 1048,
    IDC_RATE_UNIT = 1049,
    IDC_INTERVAL_LABEL = 1182,
    IDC_COMPRESSOR_GROUP = 1186,
    IDC_KEY_FRAMES_LABEL = 1187,
    IDC_RATE_LABEL = 1188,
};

QString Qs(const std::string& text) { return QString::fromStdString(text); }

} // namespace

CVideoOptionsDlg::CVideoOptionsDlg(QWidget* parent, AviRecordOptions& options,
                                   std::vector<ffmpeg::CompressorInfo> compressors)
    : QDialog(parent), m_options(options), m_compressors(std::move(compressors)), m_compressor(new QComboBox(this)),
      m_quality(new QSlider(Qt::Horizontal, this)), m_qualityValue(new QLabel(this)),
      m_keyFrames(new QLineEdit(this)), m_interval(new QLineEdit(this)), m_rate(new QLineEdit(this))
{
    setObjectName("videoOptionsDialog");
    setWindowTitle("Video Options");
    setWindowIcon(ApplicationIcon());
    if (m_compressors.size() > ffmpeg::kMaxCompressors)
        m_compressors.resize(ffmpeg::kMaxCompressors);

    QGroupBox* group = BuildCompressorGroup();
    QLayout* fields = BuildFieldsGrid();
    QDialogButtonBox* buttons = BuildButtons();
    NameControls(m_controls);
    UpdateAbout();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    TranslateDialogWidgets(*this, DialogId::VideoOptions, m_controls);
    QWidget* order[] = {m_compressor, m_about, m_quality, m_keyFrames, m_interval, m_rate, m_ok, m_cancel};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    for (QPushButton* button : {m_about, m_cancel})
        button->setAutoDefault(false); // Enter is OK wherever the focus is
    m_compressor->setFocus();
    ConnectControls();
}

QGroupBox* CVideoOptionsDlg::BuildCompressorGroup()
{
    auto* group = new QGroupBox("Compressor", this);
    m_about = new QPushButton("&About", group);
    m_controls.insert({{IDC_COMPRESSOR_GROUP, group}, {IDC_COMPRESSOR, m_compressor}, {IDC_ABOUT, m_about}});

    if (!m_compressors.empty()) {
        int selected = -1;
        for (size_t i = 0; i < m_compressors.size(); ++i) {
            m_compressor->addItem(Qs(m_compressors[i].description));
            if (selected < 0 && m_compressors[i].code == m_options.compressorFourCC)
                selected = int(i);
        }
        if (selected < 0) {
            selected = 0;
            m_options.compressorFourCC = m_compressors[0].code;
        }
        m_compressor->setCurrentIndex(selected);
    }
    auto* row = new QHBoxLayout(group);
    row->addWidget(m_compressor, 1);
    row->addWidget(m_about);
    return group;
}

QLayout* CVideoOptionsDlg::BuildFieldsGrid()
{
    auto* qualityLabel = new QLabel("Quality", this);
    auto* keyLabel = new QLabel("Set Key Frames Every", this);
    auto* keyUnit = new QLabel("frames", this);
    auto* intervalLabel = new QLabel("Capture Frames Every", this);
    auto* intervalUnit = new QLabel("milliseconds", this);
    auto* rateLabel = new QLabel("Playback Rate", this);
    auto* rateUnit = new QLabel("frames/second", this);
    m_controls.insert({
        {IDC_QUALITY_LABEL, qualityLabel},
        {IDC_QUALITY, m_quality},
        {IDC_QUALITY_VALUE, m_qualityValue},
        {IDC_KEY_FRAMES_LABEL, keyLabel},
        {IDC_KEY_FRAMES, m_keyFrames},
        {IDC_KEY_FRAMES_UNIT, keyUnit},
        {IDC_INTERVAL_LABEL, intervalLabel},
        {IDC_INTERVAL, m_interval},
        {IDC_INTERVAL_UNIT, intervalUnit},
        {IDC_RATE_LABEL, rateLabel},
        {IDC_RATE, m_rate},
        {IDC_RATE_UNIT, rateUnit},
    });

    m_rate->setText(QString::number(m_options.playbackFps));
    m_keyFrames->setText(QString::number(m_options.keyFrameEvery));
    m_interval->setText(QString::number(m_options.captureIntervalMs));
    m_quality->setRange(1, 100);
    m_quality->setValue(std::clamp(m_options.quality / 100, 1, 100));
    m_qualityValue->setNum(m_options.quality / 100);
    m_qualityValue->setMinimumWidth(fontMetrics().horizontalAdvance("0000"));
    m_quality->setStyleSheet(kRecorderSliderStyle);
    const int fieldWidth = fontMetrics().horizontalAdvance("00000000") + 12;
    for (QLineEdit* field : {m_keyFrames, m_interval, m_rate}) {
        field->setMaxLength(20);
        field->setFixedWidth(fieldWidth);
    }

    auto* grid = new QGridLayout;
    grid->addWidget(qualityLabel, 0, 0);
    grid->addWidget(m_quality, 0, 1);
    grid->addWidget(m_qualityValue, 0, 2);
    grid->addWidget(keyLabel, 1, 0);
    grid->addWidget(m_keyFrames, 1, 1, Qt::AlignLeft);
    grid->addWidget(keyUnit, 1, 2);
    grid->addWidget(intervalLabel, 2, 0);
    grid->addWidget(m_interval, 2, 1, Qt::AlignLeft);
    grid->addWidget(intervalUnit, 2, 2);
    grid->addWidget(rateLabel, 3, 0);
    grid->addWidget(m_rate, 3, 1, Qt::AlignLeft);
    grid->addWidget(rateUnit, 3, 2);
    grid->setColumnStretch(1, 1);
    return grid;
}

QDialogButtonBox* CVideoOptionsDlg::BuildButtons()
{
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = m_buttons->button(QDialogButtonBox::Ok);
    m_cancel = m_buttons->button(QDialogButtonBox::Cancel);
    m_ok->setText("OK");
    m_cancel->setText("Cancel");
    m_controls.insert({{IDC_OK, m_ok}, {IDC_CANCEL, m_cancel}});
    return m_buttons;
}

void CVideoOptionsDlg::ConnectControls()
{
    connect(m_quality, &QSlider::valueChanged, m_qualityValue, qOverload<int>(&QLabel::setNum));
    connect(m_compressor, &QComboBox::currentIndexChanged, this, &CVideoOptionsDlg::UpdateAbout);
    connect(m_about, &QPushButton::clicked, this, &CVideoOptionsDlg::OnAbout);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &CVideoOptionsDlg::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QWidget* CVideoOptionsDlg::Control(int id) const
{
    const auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : found->second;
}

void CVideoOptionsDlg::UpdateAbout()
{
    const int index = m_compressor->currentIndex();
    Control(IDC_ABOUT)->setEnabled(index >= 0 && size_t(index) < m_compressors.size() &&
                                   !m_compressors[size_t(index)].description.empty());
}

void CVideoOptionsDlg::OnAbout()
{
    const int index = m_compressor->currentIndex();
    if (index < 0 || size_t(index) >= m_compressors.size())
        return;
    const ffmpeg::CompressorInfo& info = m_compressors[size_t(index)];
    QMessageBox::about(this, m_compressor->currentText(),
                       Qs(info.description + "\n\nFourCC: " + FourCCText(info.code) + "\nFFmpeg"));
}

void CVideoOptionsDlg::accept()
{
    VideoOptionFields fields;
    fields.interval = m_interval->text().toStdString();
    fields.keyFrames = m_keyFrames->text().toStdString();
    fields.rate = m_rate->text().toStdString();
    fields.qualityPercent = m_quality->value();
    AviRecordOptions checked = m_options;
    if (const std::string fault = ApplyVideoOptionFields(fields, checked); !fault.empty()) {
        emit refused(Qs(fault));
        QMessageBox::information(this, "Note", Qs(fault));
        return;
    }
    const int index = m_compressor->currentIndex();
    if (index >= 0 && size_t(index) < m_compressors.size()) {
        checked.compressorFourCC = m_compressors[size_t(index)].code;
        checked.compressorIndex = index;
    }
    m_options = checked;
    QDialog::accept();
}

} // namespace vistrel
