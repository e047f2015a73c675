// The captured-file list's commands: the Edit menu's file commands, the
// outside programs and the context menu of each folder kind.

#include "library/capture_list_ctrl.h"

#include "base/path_names.h"
#include "base/trace.h"
#include "commands/command_ids.h"
#include "commands/menu_layout.h"
#include "desktop/desktop_commands.h"
#include "i18n/translate.h"
#include "library/capture_list_model.h"
#include "library/core/list_texts.h"
#include "library/core/save_as.h"
#include "library/library_files.h"
#include "settings/env.h"
#include "ui/dialog_texts.h"
#include "ui/file_filter.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>

#include <algorithm>

namespace vistrel {

namespace {

const std::vector<ToolEntry>& ToolsOf(int toolBase)
{
    return toolBase == ID_AVI_TOOL_FIRST ? theEnv.m_aviTools : theEnv.m_bitmapTools;
}

bool IsBitmapTool(int id) { return id >= ID_BITMAP_TOOL_FIRST && id <= ID_BITMAP_TOOL_LAST; }
bool IsAviTool(int id) { return id >= ID_AVI_TOOL_FIRST && id <= ID_AVI_TOOL_LAST; }

// The commands whose work is here or with the desktop.
bool HasWork(int id)
{
    switch (id) {
    case ID_EDIT_COPY:
    case ID_FILE_SAVE_AS:
    case ID_EDIT_COPY_TO:
    case ID_EDIT_MOVE_TO:
    case ID_EDIT_DELETE:
    case ID_EDIT_DELETE_KEY:
    case ID_EDIT_COPY_TO_CLIPBOARD:
    case ID_EDIT_SELECT_ALL: return true;
    default: return IsBitmapTool(id) || IsAviTool(id) || IsDesktopCommand(id);
    }
}

void AddEntries(QMenu& menu, std::span<const ContextMenuEntry> entries, const Translator& tr, int kind,
                size_t selected)
{
    for (const ContextMenuEntry& entry : entries) {
        const QString text = QString::fromStdString(ListMenuText(tr, kind, entry.text));
        if (entry.id == 0) {
            menu.addSeparator();
        } else if (entry.toolBase != 0) {
            QMenu* tools = menu.addMenu(text);
            const auto& list = ToolsOf(entry.toolBase);
            for (size_t i = 0; i < list.size() && i <= size_t(ID_BITMAP_TOOL_LAST - ID_BITMAP_TOOL_FIRST); ++i)
                tools->addAction(QString::fromStdString(list[i].name).replace("&", "&&"))
                    ->setData(entry.toolBase + int(i));
            tools->setEnabled(!list.empty());
        } else if (!entry.submenu.empty()) {
            QMenu* submenu = menu.addMenu(text);
            AddEntries(*submenu, entry.submenu, tr, kind, selected);
        } else {
            QAction* action = menu.addAction(text);
            action->setData(entry.id);
            action->setObjectName(QString("listCommand%1").arg(entry.id));
            action->setEnabled(HasWork(entry.id) && !(entry.id == ID_FILE_SAVE_AS && selected > 1));
        }
    }
    for (QMenu* submenu : menu.findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
        submenu->setEnabled(submenu->isEnabled() &&
                            std::any_of(submenu->actions().cbegin(), submenu->actions().cend(),
                                        [](const QAction* a) { return a->isEnabled() && !a->isSeparator(); }));
}

} // namespace

bool CCaptureListCtrl::Serves(int id)
{
    switch (id) {
    case ID_VIEW_DETAILS:
    case ID_VIEW_LIST:
    case ID_VIEW_SMALL_ICONS:
    case ID_VIEW_LARGE_ICONS:
    case ID_VIEW_THUMBNAILS:
    case ID_VIEW_BUTTON: return true;
    default: return HasWork(id);
    }
}

bool CCaptureListCtrl::OnCommand(int id)
{
    switch (id) {
    case ID_VIEW_DETAILS: SetViewMode(VIEW_DETAILS); break;
    case ID_VIEW_LIST: SetViewMode(VIEW_LIST); break;
    case ID_VIEW_SMALL_ICONS: SetViewMode(VIEW_SMALL_ICONS); break;
    case ID_VIEW_LARGE_ICONS: SetViewMode(VIEW_LARGE_ICONS); break;
    case ID_VIEW_THUMBNAILS: SetViewMode(VIEW_THUMBNAILS); break;
    case ID_VIEW_BUTTON: SetViewMode(ListViewMode((m_mode + 1) % 5)); break;
    case ID_EDIT_SELECT_ALL: SelectAll(); break;
    case ID_EDIT_DELETE:
    case ID_EDIT_DELETE_KEY: DeleteSelected(); break;
    case ID_EDIT_COPY: CopySelected(); break;
    case ID_EDIT_COPY_TO_CLIPBOARD: CopyPictureToClipboard(); break;
    case ID_EDIT_COPY_TO: CopyOrMoveSelected(false); break;
    case ID_EDIT_MOVE_TO: CopyOrMoveSelected(true); break;
    case ID_FILE_SAVE_AS: SaveSelectedAs(); break;
    default:
        if (IsDesktopCommand(id)) {
            if (const auto rows = SelectedRows(); !rows.empty())
                RunDesktopCommand(id, m_model->PathAt(rows.front()), this);
            break;
        }
        if (!IsBitmapTool(id) && !IsAviTool(id))
            return false;
        RunTool(id);
        break;
    }
    return true;
}

void CCaptureListCtrl::ShowContextMenu(const QPoint& where)
{
    const auto rows = SelectedRows();
    if (rows.empty())
        return;
    const int kind = int(m_model->kind());
    QMenu menu(this);
    menu.setObjectName("listMenu");
    AddEntries(menu, ListContextMenuLayout(kind), Translator::Current(), kind, rows.size());
    Trace("list menu kind " + std::to_string(kind));
    if (QAction* chosen = menu.exec(where); chosen && chosen->data().isValid())
        OnCommand(chosen->data().toInt());
}

void CCaptureListCtrl::DeleteSelected()
{
    const auto rows = SelectedRows();
    if (rows.empty())
        return;
    emit selectedFileChanged({}); // the preview lets go of the file first
    const QString question =
        rows.size() == 1
            ? DialogText(DialogId::FileOperations, "Delete '%s' for good?")
                  .replace("%s", QString::fromStdString(std::string(FileNameOfPath(m_model->PathAt(rows.front())))))
            : DialogText(DialogId::FileOperations, "Delete these %d items for good?")
                  .replace("%d", QString::number(rows.size()));
    QMessageBox box(QMessageBox::Question, DialogText(DialogId::FileOperations, "Confirm File Delete"), question,
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setObjectName("confirmDelete");
    box.setDefaultButton(QMessageBox::Yes);
    if (box.exec() != QMessageBox::Yes) {
        Trace("delete cancelled");
        ReportCount();
        return;
    }
    const auto failed = DeleteRows(m_library, m_model->kind(), rows);
    if (failed.empty())
        return;
    QString list;
    for (const std::string& path : failed)
        list += "\n" + QString::fromStdString(path);
    Trace("delete failed for " + std::to_string(failed.size()) + " files");
    QMessageBox::warning(this, "Vistrel",
                         DialogText(DialogId::FileOperations, "These files could not be deleted:") + list);
}

void CCaptureListCtrl::CopySelected()
{
    const auto paths = SelectedPaths();
    if (paths.empty())
        return;
    QApplication::clipboard()->setMimeData(FilesForPaste(paths).release());
    Trace("copied " + std::to_string(paths.size()) + " files");
}

void CCaptureListCtrl::CopyPictureToClipboard()
{
    const auto rows = SelectedRows();
    if (rows.empty())
        return;
    const QImage picture = ReadCapturePicture(m_model->PathAt(rows.front()));
    if (picture.isNull()) {
        QApplication::clipboard()->clear();
        return;
    }
    QApplication::clipboard()->setImage(picture);
}

void CCaptureListCtrl::CopyOrMoveSelected(bool move)
{
    const auto rows = SelectedRows();
    if (rows.empty())
        return;
    const QString folder = QFileDialog::getExistingDirectory(
        nullptr, DialogText(DialogId::FileOperations, "Select a directory:"), {}, QFileDialog::ShowDirsOnly);
    if (folder.isEmpty())
        return;
    const std::string target = folder.toStdString();
    const int done = move ? MoveEntriesTo(m_library, m_model->kind(), rows, target)
                          : CopyEntriesTo(m_library, m_model->kind(), rows, target);
    Trace(std::string(move ? "moved " : "copied ") + std::to_string(done) + " files to " + target);
}

void CCaptureListCtrl::SaveSelectedAs()
{
    const auto rows = SelectedRows();
    if (rows.empty())
        return;
    const std::string source = m_model->PathAt(rows.front());
    if (SaveAsSourceType(source) < 0)
        return;
    const QStringList filters = QString::fromStdString(QtFileFilter(SaveAsFilter())).split(";;");
    QFileDialog dialog(this);
    dialog.setObjectName("saveAs");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString chosen = dialog.selectedFiles().front();
    const int filterIndex = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
    const std::string target = SaveAsTargetPath(chosen.toStdString(), filterIndex);
    // The dialog asked about the name typed; a changed extension names another file.
    const QString path = QString::fromStdString(target);
    if (path != chosen && QFileInfo::exists(path) &&
        QMessageBox::question(this, "Vistrel",
                              DialogText(DialogId::FileOperations, "%s already exists. Do you want to replace it?")
                                  .replace("%s", path)) != QMessageBox::Yes)
        return;
    const SaveCopyResult result = SavePictureCopy(source, target, SaveAsTypeOfFilter(filterIndex).type, true);
    if (result.status == SaveCopyStatus::Saved) {
        Trace("saved as " + target);
        return;
    }
    Trace("save as failed: " + result.error);
    QMessageBox::warning(this, "Vistrel", QString::fromStdString(result.error));
}

void CCaptureListCtrl::RunTool(int id)
{
    const int base = IsAviTool(id) ? ID_AVI_TOOL_FIRST : ID_BITMAP_TOOL_FIRST;
    const auto& tools = ToolsOf(base);
    const auto rows = SelectedRows();
    if (rows.empty() || size_t(id - base) >= tools.size())
        return;
    RunOutsideTool(tools[size_t(id - base)], m_model->PathAt(rows.front()), this);
}

} // namespace vistrel
