#include "icons/icon_search_dialog.h"

#include "commands/command_ids.h"
#include "icons/icon_search_task.h"
#include "icons/icons_dialog.h"
#include "settings/env.h"
#include "settings/folders.h"
#include "ui/dialog_texts.h"
#include "ui/file_filter.h"
#include "ui/pictures/pictures.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace vistrel {

namespace {

enum ControlId : int {
    IDC_SEARCH = 1,
    IDC_CLOSE = 2,
    IDC_SEARCH_PATH = 1004,
    IDC_CURRENT_FILE = 1005,
    IDC_ICO = 1006,
    IDC_DLL = 1007,
    IDC_EXE = 1008,
    IDC_ICON_COUNT = 1009,
    IDC_SELECT_PATH = 1010,
    IDC_SUB_FOLDERS = 1012,
    IDC_FILE = 1014,
    IDC_FILE_MODE = 1049,
    IDC_FOLDER_MODE = 1050,
    IDC_EXECUTABLE = 1069,
    IDC_EXECUTABLE_LABEL = 1070,
    IDC_SEARCH_PATH_LABEL = 1071,
    IDC_CURRENT_FILE_LABEL = 1072,
    IDC_ICON_COUNT_LABEL = 1073,
    IDC_GROUP = 1184,
};

// Enabled in file mode; the folder mode's controls are the others.
constexpr int kFileModeControls[] = {IDC_EXECUTABLE_LABEL, IDC_EXECUTABLE, IDC_FILE};
constexpr int kFolderModeControls[] = {
    IDC_SEARCH_PATH, IDC_CURRENT_FILE, IDC_ICON_COUNT,        IDC_SELECT_PATH,        IDC_SUB_FOLDERS,      IDC_ICO,
    IDC_DLL,         IDC_EXE,          IDC_SEARCH_PATH_LABEL, IDC_CURRENT_FILE_LABEL, IDC_ICON_COUNT_LABEL,
};
// Held still while a search runs.
constexpr int kSearchLockedControls[] = {
    IDC_FILE_MODE,   IDC_FOLDER_MODE,       IDC_ICO,                IDC_DLL,              IDC_EXE, IDC_SUB_FOLDERS,
    IDC_SELECT_PATH, IDC_SEARCH_PATH_LABEL, IDC_CURRENT_FILE_LABEL, IDC_ICON_COUNT_LABEL,
};

QString Qs(const std::string& text) { return QString::fromStdString(text); }

} // namespace

void RunIconCaptureDialog(QWidget* parent, CaptureLibrary& library)
{
    CIconSearchDlg dialog(parent, library);
    dialog.exec();
}

CIconSearchDlg::CIconSearchDlg(QWidget* parent, CaptureLibrary& library)
    : QDialog(parent), m_fileMode(new QRadioButton("Searc&h Icons In EXE or DLL File", this)),
      m_folderMode(new QRadioButton("Search in &folder", this)), m_executable(new QLineEdit(this)),
      m_searchPath(new QLineEdit(this)), m_currentFile(new QLineEdit(this)), m_iconCount(new QLineEdit(this)),
      m_subFolders(new QCheckBox("Se&arch icons in sub folders", this)), m_ico(new QCheckBox("*.&ico Files", this)),
      m_dll(new QCheckBox("*.&dll Files", this)), m_exe(new QCheckBox("*.&exe Files", this)),
      m_search(new QPushButton("&Search", this)), m_searchText("&Search"), m_stopText("&Stop")
{
    theEnv.UnregisterHotkeys(false);
    setObjectName("iconSearchDialog");
    setWindowTitle("Icon Capture&Search");
    setWindowIcon(CommandPicture(ID_CAPTURE_ICONS));
    QObject* owner = parent ? static_cast<QObject*>(parent) : QCoreApplication::instance();
    m_task = new IconSearchTask(library, owner);

    QGroupBox* group = BuildSearchGroup();
    QLayout* buttons = BuildButtonRow();
    NameControls(m_controls);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    // Tab goes down the form as it reads; the layout's reparenting would mix it up.
    const QList<QWidget*> tabOrder = {m_fileMode,    m_executable, m_chooseFile,  m_folderMode, m_searchPath,
                                      m_choosePath,  m_currentFile, m_iconCount, m_subFolders, m_ico,
                                      m_exe,         m_dll,        m_search,     m_close};
    for (qsizetype i = 0; i + 1 < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i], tabOrder[i + 1]);

    ConnectControls();
    m_fileMode->setChecked(true);
    SetFileMode(true);

    TranslateDialogWidgets(*this, DialogId::IconSearch, m_controls);
    m_searchText = m_search->text();
    m_stopText = DialogText(DialogId::IconSearch, "&Stop");
}

QGroupBox* CIconSearchDlg::BuildSearchGroup()
{
    auto* group = new QGroupBox("Icon Capture", this);
    auto* executableLabel = new QLabel("Execute File:", group);
    auto* searchPathLabel = new QLabel("Search Path:", group);
    auto* currentFileLabel = new QLabel("Current File:", group);
    auto* iconCountLabel = new QLabel("Captured Icons:", group);
    auto folderButton = [group](const char* text) {
        auto* button = new QToolButton(group);
        button->setIcon(FolderPicture(true));
        button->setToolTip(text);
        button->setAccessibleName(text);
        return button;
    };
    m_chooseFile = folderButton("File");
    m_choosePath = folderButton("Select Path");
    m_controls.insert({
        {IDC_GROUP, group},
        {IDC_FILE_MODE, m_fileMode},
        {IDC_EXECUTABLE_LABEL, executableLabel},
        {IDC_EXECUTABLE, m_executable},
        {IDC_FILE, m_chooseFile},
        {IDC_FOLDER_MODE, m_folderMode},
        {IDC_SEARCH_PATH_LABEL, searchPathLabel},
        {IDC_SEARCH_PATH, m_searchPath},
        {IDC_SELECT_PATH, m_choosePath},
        {IDC_CURRENT_FILE_LABEL, currentFileLabel},
        {IDC_CURRENT_FILE, m_currentFile},
        {IDC_ICON_COUNT_LABEL, iconCountLabel},
        {IDC_ICON_COUNT, m_iconCount},
        {IDC_SUB_FOLDERS, m_subFolders},
        {IDC_ICO, m_ico},
        {IDC_DLL, m_dll},
        {IDC_EXE, m_exe},
    });

    m_currentFile->setReadOnly(true);
    m_iconCount->setReadOnly(true);
    m_executable->setMinimumWidth(fontMetrics().averageCharWidth() * 44);
    // The texts under their radio button are set in by one step.
    const int indent = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) + 8;
    auto* grid = new QGridLayout(group);
    grid->setColumnMinimumWidth(0, indent);
    grid->setColumnStretch(2, 1);
    grid->addWidget(m_fileMode, 0, 0, 1, 4);
    grid->addWidget(executableLabel, 1, 1);
    grid->addWidget(m_executable, 1, 2);
    grid->addWidget(m_chooseFile, 1, 3);
    grid->addWidget(m_folderMode, 2, 0, 1, 4);
    grid->addWidget(searchPathLabel, 3, 1);
    grid->addWidget(m_searchPath, 3, 2);
    grid->addWidget(m_choosePath, 3, 3);
    grid->addWidget(currentFileLabel, 4, 1);
    grid->addWidget(m_currentFile, 4, 2, 1, 2);
    grid->addWidget(iconCountLabel, 5, 1);
    grid->addWidget(m_iconCount, 5, 2, 1, 2);
    grid->addWidget(m_subFolders, 6, 1, 1, 3);
    auto* types = new QHBoxLayout;
    types->addWidget(m_ico);
    types->addWidget(m_exe);
    types->addWidget(m_dll);
    types->addStretch();
    grid->addLayout(types, 7, 1, 1, 3);

    m_searchPath->setText("/"); // the whole system; "C:" typed in is taken for it too
    m_ico->setChecked(true);
    m_subFolders->setChecked(true);
    return group;
}

QLayout* CIconSearchDlg::BuildButtonRow()
{
    m_close = new QPushButton("&Close", this);
    m_controls.insert({{IDC_SEARCH, m_search}, {IDC_CLOSE, m_close}});

    m_search->setDefault(true);
    m_close->setAutoDefault(false);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(m_search);
    row->addWidget(m_close);
    return row;
}

void CIconSearchDlg::ConnectControls()
{
    connect(m_task, &IconSearchTask::progress, this, &CIconSearchDlg::OnProgress, Qt::QueuedConnection);
    connect(m_task, &IconSearchTask::finished, this, &CIconSearchDlg::OnSearchEnded);
    connect(m_fileMode, &QRadioButton::toggled, this, [this](bool on) { SetFileMode(on); });
    connect(m_chooseFile, &QToolButton::clicked, this, &CIconSearchDlg::OnChooseFile);
    connect(m_choosePath, &QToolButton::clicked, this, &CIconSearchDlg::OnChoosePath);
    connect(m_search, &QPushButton::clicked, this, &CIconSearchDlg::OnSearch);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
}

CIconSearchDlg::~CIconSearchDlg()
{
    if (m_task)
        m_task->Abandon();
    theEnv.RegisterHotkeys(false);
}

QWidget* CIconSearchDlg::Control(int id) const
{
    const auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : found->second;
}

void CIconSearchDlg::SetFileMode(bool fileMode)
{
    for (int id : kFileModeControls)
        Control(id)->setEnabled(fileMode);
    for (int id : kFolderModeControls)
        Control(id)->setEnabled(!fileMode);
}

void CIconSearchDlg::SetSearching(bool searching)
{
    m_searching = searching;
    m_search->setText(searching ? m_stopText : m_searchText);
    for (int id : kSearchLockedControls)
        Control(id)->setEnabled(!searching);
}

void CIconSearchDlg::OnChooseFile()
{
    const QString path = QFileDialog::getOpenFileName(this, QString(), m_executable->text(),
                                                      Qs(QtFileFilter("Exe and Dll files|*.exe;*.dll||")));
    if (!path.isEmpty())
        m_executable->setText(path);
}

void CIconSearchDlg::OnChoosePath()
{
    const QString folder =
        QFileDialog::getExistingDirectory(this, "Select a directory:", m_searchPath->text(), QFileDialog::ShowDirsOnly);
    if (!folder.isEmpty())
        m_searchPath->setText(folder);
}

void CIconSearchDlg::OnSearch()
{
    if (m_searching) {
        m_task->Stop();
        SetSearching(false);
        // Searching again waits for the threads, which end after their current file.
        m_search->setEnabled(!m_task->IsRunning());
        return;
    }
    if (m_fileMode->isChecked()) {
        CIconsDlg icons(this);
        icons.SetFile(m_executable->text().toStdString());
        icons.exec();
        return;
    }
    StartSearch();
}

void CIconSearchDlg::StartSearch()
{
    if (!m_search->isEnabled() || m_task->IsRunning())
        return;
    IconSearchJob job;
    job.folder = m_searchPath->text().toStdString();
    if (!IsFolder(SearchRootFromPath(job.folder))) {
        QMessageBox::warning(this, "Error", Qs("There is no folder " + job.folder + " to search."));
        return;
    }
    job.subFolders = m_subFolders->isChecked();
    job.ico = m_ico->isChecked();
    job.dll = m_dll->isChecked();
    job.exe = m_exe->isChecked();
    job.targetFolder = theEnv.m_strIconPath;
    SetSearching(true);
    m_task->Start(job);
}

void CIconSearchDlg::OnProgress(const QString& currentFile, int iconCount)
{
    m_currentFile->setText(currentFile);
    m_iconCount->setText(QString("Icon Files: %1").arg(iconCount));
}

void CIconSearchDlg::OnSearchEnded()
{
    SetSearching(false);
    m_search->setEnabled(true);
}

} // namespace vistrel
