#include "icons/icons_dialog.h"

#include "base/path_names.h"
#include "icons/core/icon_fit.h"
#include "icons/core/icon_naming.h"
#include "icons/icon_clipboard.h"
#include "settings/env.h"
#include "settings/folders.h"
#include "ui/dialog_texts.h"
#include "ui/file_filter.h"

#include <QApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace vistrel {

namespace {

constexpr int kSaveId = 1014;
constexpr int kSaveAllId = 1075;
constexpr int kToClipboardId = 1082;
constexpr int kCloseId = 2;
// The depth the list's pictures are chosen for: today's displays show 32 bits.
constexpr uint32_t kDisplayDepth = 32;
// Problems listed one by one in a message; more are counted.
constexpr size_t kListedProblems = 12;

QString Qs(const std::string& text) { return QString::fromStdString(text); }

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

IconSaveOutcome Save(const std::optional<IconResource>& icon, std::string label, std::string path)
{
    IconSaveOutcome outcome {std::move(label), std::move(path), IconSaveOutcome::Unreadable};
    if (!icon)
        return outcome;
    switch (WriteIconToIcoFile(*icon, outcome.path)) {
    case IconWriteResult::Written: outcome.result = IconSaveOutcome::Written; break;
    case IconWriteResult::Exists: outcome.result = IconSaveOutcome::Exists; break;
    case IconWriteResult::Failed: outcome.result = IconSaveOutcome::Failed; break;
    }
    return outcome;
}

std::string ProblemText(const IconSaveOutcome& outcome, const std::string& module)
{
    switch (outcome.result) {
    case IconSaveOutcome::Exists:
        return outcome.path + " already exists. Icons never replace a file: choose another name.";
    case IconSaveOutcome::Unreadable: return outcome.label + " cannot be read from " + module + ".";
    case IconSaveOutcome::Failed: return outcome.path + " cannot be written.";
    case IconSaveOutcome::Written: break;
    }
    return {};
}

} // namespace

std::string IconsDialogTitle(const std::string& format, int count, const std::string& fileName)
{
    std::string title;
    bool countDone = false, nameDone = false;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            if (format[i + 1] == 'd' && !countDone) {
                title += std::to_string(count);
                countDone = true;
                ++i;
                continue;
            }
            if (format[i + 1] == 's' && !nameDone) {
                title += fileName;
                nameDone = true;
                ++i;
                continue;
            }
        }
        title += format[i];
    }
    return title;
}

CIconsDlg::CIconsDlg(QWidget* parent)
    : QDialog(parent), m_list(new QListWidget(this)), m_save(new QPushButton("&Save", this)),
      m_saveAll(new QPushButton("Save &All", this)), m_toClipboard(new QPushButton("&To Clipboard", this))
{
    setObjectName("iconsDialog");
    setWindowTitle("Icons");
    auto* close = new QPushButton("Close", this);
    const int side = style()->pixelMetric(QStyle::PM_LargeIconSize, nullptr, this);
    m_list->setObjectName("iconList");
    m_list->setViewMode(QListView::IconMode);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setIconSize(QSize(side, side));
    m_list->setMovement(QListView::Static);
    m_list->setResizeMode(QListView::Adjust);
    m_list->setWrapping(true);
    m_list->setWordWrap(true);
    m_list->setGridSize(QSize(std::max(2 * side + 24, 96), side + 2 * fontMetrics().height() + 12));
    m_list->setMinimumSize(4 * m_list->gridSize().width() + 24, 2 * m_list->gridSize().height() + 8);

    for (QPushButton* button : {m_save, m_saveAll, m_toClipboard, close})
        button->setAutoDefault(false);
    m_save->setEnabled(false);
    m_toClipboard->setEnabled(false);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_save);
    buttons->addWidget(m_saveAll);
    buttons->addWidget(m_toClipboard);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    connect(m_list, &QListWidget::itemSelectionChanged, this, &CIconsDlg::OnSelectionChanged);
    connect(m_save, &QPushButton::clicked, this, &CIconsDlg::OnSave);
    connect(m_saveAll, &QPushButton::clicked, this, &CIconsDlg::OnSaveAll);
    connect(m_toClipboard, &QPushButton::clicked, this, &CIconsDlg::OnToClipboard);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    TranslateDialogWidgets(*this, DialogId::Icons,
                           {{kSaveId, m_save}, {kSaveAllId, m_saveAll}, {kToClipboardId, m_toClipboard},
                            {kCloseId, close}});
}

std::string CIconsDlg::LoadFile()
{
    m_list->clear();
    m_groups.clear();
    auto module = IconModule::Open(m_path);
    if (!module)
        return NotLoadableMessage(m_path);
    m_groups = module->Groups();
    if (m_groups.empty())
        return NoIconMessage(m_path);
    const int side = m_list->iconSize().width();
    for (size_t i = 0; i < m_groups.size(); ++i) {
        auto* item = new QListWidgetItem(Qs(GroupLabel(m_groups[i])), m_list);
        item->setData(Qt::UserRole, int(i));
        // A group that shows no picture keeps its place with an empty one, so
        // that no item shows another group's picture.
        if (const auto picture = LoadGroupIcon(*module, m_groups[i], uint32_t(side), kDisplayDepth))
            item->setIcon(QIcon(QPixmap::fromImage(ImageFromBitmap(picture->bitmap))));
    }
    const std::string format = DialogText(DialogId::Icons, "%d icons in %s").toStdString();
    setWindowTitle(Qs(IconsDialogTitle(format, m_list->count(), std::string(FileNameOfPath(m_path)))));
    OnSelectionChanged();
    return {};
}

int CIconsDlg::exec()
{
    const std::string error = LoadFile();
    if (!error.empty()) {
        QMessageBox::warning(parentWidget(), "Error", Qs(error));
        return Rejected;
    }
    return QDialog::exec();
}

const IconGroupName* CIconsDlg::SelectedGroup() const
{
    const auto selected = m_list->selectedItems();
    if (selected.isEmpty())
        return nullptr;
    const int index = selected.front()->data(Qt::UserRole).toInt();
    return index >= 0 && size_t(index) < m_groups.size() ? &m_groups[size_t(index)] : nullptr;
}

void CIconsDlg::OnSelectionChanged()
{
    const bool selected = SelectedGroup() != nullptr;
    m_save->setEnabled(selected);
    m_toClipboard->setEnabled(selected);
}

std::optional<IconSaveOutcome> CIconsDlg::SaveSelectedTo(const std::string& path)
{
    const IconGroupName* group = SelectedGroup();
    if (!group)
        return std::nullopt;
    std::string file = path;
    if (file.find(".ico") == std::string::npos)
        file += ".ico";
    return Save(ReadIconFromModule(m_path, *group), GroupLabel(*group), file);
}

std::vector<IconSaveOutcome> CIconsDlg::SaveAllTo(const std::string& folder)
{
    std::vector<IconSaveOutcome> outcomes;
    // One reading of the module for all its groups.
    auto module = IconModule::Open(m_path);
    SaveAllNames names(folder);
    for (const IconGroupName& group : m_groups) {
        const std::string label = GroupLabel(group);
        outcomes.push_back(Save(module ? module->ReadGroup(group) : std::nullopt, label, names.Next(m_path, label)));
    }
    return outcomes;
}

bool CIconsDlg::CopySelectedToClipboard()
{
    const IconGroupName* group = SelectedGroup();
    if (!group)
        return false;
    const auto icon = ReadIconFromModule(m_path, *group);
    return icon && !icon->images.empty() && CopyIconImageToClipboard(icon->images.front());
}

void CIconsDlg::OnSave()
{
    const IconGroupName* group = SelectedGroup();
    if (!group)
        return;
    // A file dialog given a folder that is not there opens in the working folder.
    EnsureFolder(theEnv.m_strIconPath);
    const std::string suggested = SaveAllFileName(theEnv.m_strIconPath, m_path, GroupLabel(*group));
    const QString path = QFileDialog::getSaveFileName(this, QString(), Qs(suggested),
                                                      Qs(QtFileFilter("Icon file(*.ico)|*.ico||")), nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty())
        return;
    if (const auto outcome = SaveSelectedTo(path.toStdString()))
        ReportProblems({*outcome}, {});
}

void CIconsDlg::OnSaveAll()
{
    EnsureFolder(theEnv.m_strIconPath);
    const QString folder = QFileDialog::getExistingDirectory(this, "Select a directory:",
                                                             Qs(theEnv.m_strIconPath), QFileDialog::ShowDirsOnly);
    if (folder.isEmpty())
        return;
    std::vector<IconSaveOutcome> outcomes;
    {
        WaitCursor wait;
        outcomes = SaveAllTo(folder.toStdString());
    }
    ReportProblems(outcomes, folder.toStdString());
}

void CIconsDlg::OnToClipboard()
{
    if (SelectedGroup() && !CopySelectedToClipboard())
        QMessageBox::warning(this, "Error", Qs("The icon cannot be put on the clipboard."));
}

void CIconsDlg::ReportProblems(const std::vector<IconSaveOutcome>& outcomes, const std::string& folder)
{
    std::vector<std::string> problems;
    for (const IconSaveOutcome& outcome : outcomes)
        if (outcome.result != IconSaveOutcome::Written)
            problems.push_back(ProblemText(outcome, m_path));
    if (problems.empty())
        return;
    std::string text;
    if (outcomes.size() > 1)
        text = std::to_string(outcomes.size() - problems.size()) + " of " + std::to_string(outcomes.size()) +
               " icons were saved in " + folder + ".\n\n";
    for (size_t i = 0; i < problems.size() && i < kListedProblems; ++i)
        text += problems[i] + "\n";
    if (problems.size() > kListedProblems)
        text += "... and " + std::to_string(problems.size() - kListedProblems) + " more.\n";
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    QMessageBox::warning(this, "Error", Qs(text));
}

} // namespace vistrel
