#include "record/dialogs/cursor_options_dialog.h"

#include "icons/icon_clipboard.h"

#include "platform/x11/cursor_image.h"
#include "platform/x11/x11_connection.h"
#include "record/core/builtin_cursors.h"
#include "record/core/cursor_file.h"
#include "record/core/highlight_preview.h"
#include "record/dialogs/slider_style.h"
#include "ui/color_picker.h"
#include "ui/dialog_texts.h"
#include "ui/pictures/cursor_pictures.h"
#include "ui/pictures/pictures.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

namespace vistrel {

namespace {

enum ControlId : int {
    IDC_OK = 1,
    IDC_CANCEL = 2,
    IDC_HIDE_CURSOR = 1049,
    IDC_SHOW_CURSOR = 1050,
    IDC_ACTUAL_CURSOR = 1051,
    IDC_CUSTOM_CURSOR = 1052,
    IDC_FILE_CURSOR = 1053,
    IDC_BUILT_IN_LIST = 1054,
    IDC_CHOOSE_FILE = 1055,
    IDC_CURSOR_PREVIEW = 1056,
    IDC_HIGHLIGHT = 1057,
    IDC_HIGHLIGHT_SIZE = 1058,
    IDC_SIZE_LABEL = 1059,
    IDC_SHAPE_LABEL = 1060,
    IDC_HIGHLIGHT_SHAPE = 1061,
    IDC_HIGHLIGHT_COLOR = 1062,
    IDC_HIGHLIGHT_PREVIEW = 1063,
};

constexpr int kHighlightControls[] = {IDC_HIGHLIGHT_SIZE,  IDC_SIZE_LABEL,      IDC_SHAPE_LABEL,
                                      IDC_HIGHLIGHT_SHAPE, IDC_HIGHLIGHT_COLOR, IDC_HIGHLIGHT_PREVIEW};
// Room for a cursor of the usual size with a margin; larger ones are shown smaller.
constexpr int kCursorPreviewSide = 40;


} // namespace

std::string& RunCursorFolder()
{
    static std::string folder; // kept for the run, never saved
    return folder;
}

std::optional<CursorImage> ScreenCursorNow()
{
    // Only an X display has the cursor to read; elsewhere $DISPLAY may name another.
    if (QGuiApplication::platformName() != "xcb")
        return std::nullopt;
    const x11::Connection conn;
    if (!conn.ok())
        return std::nullopt;
    return x11::ReadCursorImage(conn);
}

CCursorOptionsDlg::CCursorOptionsDlg(QWidget* parent, AviRecordOptions& options, std::string& folder,
                                     CursorSource screenCursor)
    : QDialog(parent), m_options(options), m_folder(folder), m_screenCursor(std::move(screenCursor)),
      m_hide(new QRadioButton("&Hide Cursor", this)), m_show(new QRadioButton("&Show Cursor", this)),
      m_actual(new QRadioButton("Use &Actual Cursor", this)), m_custom(new QRadioButton("Use &Custom Cursor", this)),
      m_file(new QRadioButton("Use Cursor From &File", this)), m_builtIn(new QComboBox(this)),
      m_browse(new QPushButton("...", this)), m_cursorPreview(new QLabel(this)),
      m_highlight(new QCheckBox("H&ighlight Cursor", this)), m_size(new QSlider(Qt::Horizontal, this)),
      m_shape(new QComboBox(this)), m_highlightPreview(new QLabel(this)),
      m_recordCursor(options.recordCursor ? 1 : 0),
      m_cursorType(options.cursorType == CURSOR_CUSTOM || options.cursorType == CURSOR_FILE ? options.cursorType
                                                                                            : CURSOR_ACTUAL),
      m_customIndex(std::clamp(options.customCursorIndex, 0, int(kBuiltInCursors.size()) - 1)),
      m_customCursor(options.customCursor), m_fileCursor(options.fileCursor),
      m_highlightOn(options.highlightCursor ? 1 : 0), m_highlightColor(options.highlightColor & 0xFFFFFF)
{
    setObjectName("cursorOptionsDialog");
    setWindowTitle("Cursor Options");
    setWindowIcon(ApplicationIcon());

    QGroupBox* displayGroup = BuildDisplayGroup();
    QGroupBox* highlightGroup = BuildHighlightGroup();
    QDialogButtonBox* buttons = BuildButtons();
    NameControls(m_controls);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(displayGroup);
    layout->addWidget(highlightGroup);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    TranslateDialogWidgets(*this, DialogId::CursorOptions, m_controls);
    for (QPushButton* button : {m_browse, m_color, m_cancel})
        button->setAutoDefault(false); // Enter is OK wherever the focus is

    if (m_cursorType == CURSOR_CUSTOM)
        m_customCursor = BuiltInCursorImage(m_customIndex);
    UpdateEnabled();
    RefreshCursorPreview();
    RefreshHighlightPreview();
    ConnectControls();
}

QGroupBox* CCursorOptionsDlg::BuildDisplayGroup()
{
    auto* group = new QGroupBox("Cursor Display", this);
    m_controls.insert({
        {IDC_CURSOR_DISPLAY_GROUP, group},
        {IDC_HIDE_CURSOR, m_hide},
        {IDC_SHOW_CURSOR, m_show},
        {IDC_ACTUAL_CURSOR, m_actual},
        {IDC_CUSTOM_CURSOR, m_custom},
        {IDC_FILE_CURSOR, m_file},
        {IDC_BUILT_IN_LIST, m_builtIn},
        {IDC_CHOOSE_FILE, m_browse},
        {IDC_CURSOR_PREVIEW, m_cursorPreview},
    });

    // Two sets of radio buttons in one box: each set excludes only its own.
    auto* shown = new QButtonGroup(this);
    shown->addButton(m_hide);
    shown->addButton(m_show);
    auto* types = new QButtonGroup(this);
    types->addButton(m_actual);
    types->addButton(m_custom);
    types->addButton(m_file);

    for (const BuiltInCursor& entry : kBuiltInCursors)
        m_builtIn->addItem(QString::fromUtf8(entry.name.data(), qsizetype(entry.name.size())));
    m_builtIn->setCurrentIndex(m_customIndex);
    m_builtIn->setMaxVisibleItems(12);
    m_browse->setIcon(FolderPicture(true));
    m_browse->setToolTip("Load a cursor from a file");
    m_cursorPreview->setFixedSize(kCursorPreviewSide + 4, kCursorPreviewSide + 4);
    m_cursorPreview->setAlignment(Qt::AlignCenter);
    m_cursorPreview->setFrameShape(QFrame::Panel);
    m_cursorPreview->setFrameShadow(QFrame::Sunken);

    // What is drawn on the left, its preview on the right.
    auto* grid = new QGridLayout(group);
    auto* showRow = new QHBoxLayout;
    showRow->addWidget(m_hide);
    showRow->addWidget(m_show);
    showRow->addStretch();
    grid->addLayout(showRow, 0, 0, 1, 3);
    grid->addWidget(m_actual, 1, 0, 1, 2);
    grid->addWidget(m_custom, 2, 0);
    grid->addWidget(m_builtIn, 2, 1);
    grid->addWidget(m_file, 3, 0);
    grid->addWidget(m_browse, 3, 1, Qt::AlignLeft);
    grid->addWidget(m_cursorPreview, 1, 2, 3, 1, Qt::AlignCenter);
    grid->setColumnStretch(1, 1);

    (m_recordCursor ? m_show : m_hide)->setChecked(true);
    (m_cursorType == CURSOR_CUSTOM ? m_custom : m_cursorType == CURSOR_FILE ? m_file : m_actual)->setChecked(true);
    return group;
}

QGroupBox* CCursorOptionsDlg::BuildHighlightGroup()
{
    auto* group = new QGroupBox("Cursor Highlight", this);
    auto* sizeLabel = new QLabel("Size", group);
    auto* shapeLabel = new QLabel("Shape", group);
    m_color = new QPushButton("Color", group);
    sizeLabel->setBuddy(m_size);
    shapeLabel->setBuddy(m_shape);
    m_controls.insert({
        {IDC_CURSOR_HIGHLIGHT_GROUP, group},
        {IDC_HIGHLIGHT, m_highlight},
        {IDC_SIZE_LABEL, sizeLabel},
        {IDC_HIGHLIGHT_SIZE, m_size},
        {IDC_SHAPE_LABEL, shapeLabel},
        {IDC_HIGHLIGHT_SHAPE, m_shape},
        {IDC_HIGHLIGHT_COLOR, m_color},
        {IDC_HIGHLIGHT_PREVIEW, m_highlightPreview},
    });

    m_size->setRange(kMinHighlightSize, kMaxHighlightSize);
    m_size->setValue(std::clamp(m_options.highlightSize, kMinHighlightSize, kMaxHighlightSize));
    m_size->setMinimumWidth(140);
    // Greyed while the highlight is off.
    m_size->setStyleSheet(QString(kRecorderSliderStyle) +
                          "QSlider::groove:horizontal:disabled, QSlider::sub-page:horizontal:disabled,"
                          " QSlider::handle:horizontal:disabled { background: #a0a0a8; }");
    for (std::string_view shape : DialogTexts(DialogId::CursorOptions).otherKeys)
        m_shape->addItem(DialogText(DialogId::CursorOptions, shape));
    m_shape->setCurrentIndex(std::clamp(m_options.highlightShape, int(HIGHLIGHT_CIRCLE), int(HIGHLIGHT_RECTANGLE)));
    m_highlight->setChecked(m_highlightOn != 0);
    m_highlightPreview->setFixedSize(kHighlightPreviewBox, kHighlightPreviewBox);

    // The settings on the left, the preview on the right.
    auto* grid = new QGridLayout(group);
    grid->addWidget(m_highlight, 0, 0, 1, 3);
    grid->addWidget(sizeLabel, 1, 0);
    grid->addWidget(m_size, 1, 1);
    grid->addWidget(shapeLabel, 2, 0);
    grid->addWidget(m_shape, 2, 1);
    grid->addWidget(m_color, 3, 1, Qt::AlignLeft);
    grid->addWidget(m_highlightPreview, 1, 2, 3, 1, Qt::AlignCenter);
    grid->setColumnStretch(1, 1);
    return group;
}

QDialogButtonBox* CCursorOptionsDlg::BuildButtons()
{
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* ok = m_buttons->button(QDialogButtonBox::Ok);
    m_cancel = m_buttons->button(QDialogButtonBox::Cancel);
    ok->setText("OK");
    m_cancel->setText("Cancel");
    m_controls.insert({{IDC_OK, ok}, {IDC_CANCEL, m_cancel}});
    return m_buttons;
}

void CCursorOptionsDlg::ConnectControls()
{
    connect(m_hide, &QRadioButton::clicked, this, [this] { SetRecordCursor(0); });
    connect(m_show, &QRadioButton::clicked, this, [this] { SetRecordCursor(1); });
    connect(m_actual, &QRadioButton::clicked, this, [this] { SetCursorType(CURSOR_ACTUAL); });
    connect(m_custom, &QRadioButton::clicked, this, [this] { SetCursorType(CURSOR_CUSTOM); });
    connect(m_file, &QRadioButton::clicked, this, [this] { SetCursorType(CURSOR_FILE); });
    connect(m_builtIn, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_customIndex = std::max(index, 0);
        m_customCursor = BuiltInCursorImage(m_customIndex);
        RefreshCursorPreview();
    });
    connect(m_browse, &QPushButton::clicked, this, &CCursorOptionsDlg::OnChooseFile);
    connect(m_highlight, &QCheckBox::toggled, this, [this](bool on) {
        m_highlightOn = on ? 1 : 0;
        UpdateEnabled();
        RefreshHighlightPreview();
    });
    connect(m_size, &QSlider::valueChanged, this, &CCursorOptionsDlg::RefreshHighlightPreview);
    connect(m_shape, &QComboBox::currentIndexChanged, this, &CCursorOptionsDlg::RefreshHighlightPreview);
    connect(m_color, &QPushButton::clicked, this, &CCursorOptionsDlg::OnColor);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &CCursorOptionsDlg::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QWidget* CCursorOptionsDlg::Control(int id) const
{
    const auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : found->second;
}

void CCursorOptionsDlg::SetRecordCursor(int on)
{
    m_recordCursor = on;
    UpdateEnabled();
    RefreshCursorPreview();
}

void CCursorOptionsDlg::SetCursorType(int type)
{
    m_cursorType = type;
    if (type == CURSOR_CUSTOM)
        m_customCursor = BuiltInCursorImage(m_customIndex);
    UpdateEnabled();
    RefreshCursorPreview();
}

void CCursorOptionsDlg::UpdateEnabled()
{
    // The list and "..." follow the type as well as the display, so that
    // showing the cursor again never offers the controls of another type.
    const bool shown = m_recordCursor != 0;
    for (QRadioButton* type : {m_actual, m_custom, m_file})
        type->setEnabled(shown);
    m_builtIn->setEnabled(shown && m_cursorType == CURSOR_CUSTOM);
    m_browse->setEnabled(shown && m_cursorType == CURSOR_FILE);
    for (int id : kHighlightControls)
        Control(id)->setEnabled(m_highlightOn != 0);
}

void CCursorOptionsDlg::RefreshCursorPreview()
{
    // The custom picture is kept apart from the preview: OK with the cursor
    // hidden must not forget the picture the list names.
    if (!m_recordCursor)
        m_preview.reset();
    else if (m_cursorType == CURSOR_CUSTOM)
        m_preview = m_customCursor;
    else if (m_cursorType == CURSOR_FILE)
        m_preview = m_fileCursor;
    else
        m_preview = m_screenCursor ? m_screenCursor() : std::nullopt;

    QPixmap picture;
    if (m_preview && m_preview->image.holdsAllPixels()) {
        QImage image = ImageFromBitmap(m_preview->image);
        if (image.width() > kCursorPreviewSide || image.height() > kCursorPreviewSide)
            image = image.scaled(kCursorPreviewSide, kCursorPreviewSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        picture = QPixmap::fromImage(image);
    }
    m_cursorPreview->setPixmap(picture);
}

void CCursorOptionsDlg::RefreshHighlightPreview()
{
    const Bitmap preview = HighlightPreview(m_highlightOn != 0, m_size->value(), m_shape->currentIndex(),
                                            m_highlightColor);
    m_highlightPreview->setPixmap(QPixmap::fromImage(ImageFromBitmap(preview)));
}

void CCursorOptionsDlg::OnChooseFile()
{
    const QString start = m_folder.empty() ? QDir::homePath() : QString::fromStdString(m_folder);
    QFileDialog chooser(this, "File to load", start, "Icon and Cursor Files (*.ico *.cur)");
    chooser.setFileMode(QFileDialog::ExistingFile);
    chooser.setAcceptMode(QFileDialog::AcceptOpen);
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return;
    LoadCursorFile(chooser.selectedFiles().front());
}

bool CCursorOptionsDlg::LoadCursorFile(const QString& path)
{
    const QFileInfo file(path);
    m_folder = file.absolutePath().toStdString();
    QString fault;
    if (!IsCursorFileName(path.toStdString())) {
        fault = QString("\"%1\" is not loaded: only icon (.ico) and cursor (.cur) files can be used.")
                    .arg(file.fileName());
    } else {
        std::string error;
        if (auto cursor = ReadCursorFile(path.toStdString(), &error)) {
            m_fileCursor = std::move(cursor);
            RefreshCursorPreview();
            return true;
        }
        fault = QString("\"%1\" cannot be used as a cursor.\n\n%2").arg(file.fileName(), QString::fromStdString(error));
    }
    emit refused(fault);
    QMessageBox::warning(this, "Cursor Options", fault);
    return false;
}

void CCursorOptionsDlg::OnColor()
{
    const QColor chosen = QColorDialog::getColor(ColorFromRef(m_highlightColor), this);
    if (!chosen.isValid())
        return;
    m_highlightColor = RefFromColor(chosen);
    RefreshHighlightPreview();
}

void CCursorOptionsDlg::accept()
{
    m_options.recordCursor = m_recordCursor;
    m_options.cursorType = m_cursorType;
    m_options.customCursorIndex = m_customIndex;
    m_options.customCursor = m_customCursor;
    m_options.fileCursor = m_fileCursor;
    m_options.highlightCursor = m_highlightOn;
    m_options.highlightSize = m_size->value();
    m_options.highlightShape = m_shape->currentIndex();
    m_options.highlightColor = m_highlightColor;
    QDialog::accept();
}

} // namespace vistrel
