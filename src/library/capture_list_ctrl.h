#pragma once
// CCaptureListCtrl: the captured files of one folder kind, in one of five
// views over one model and one selection: Details (a table with the four
// columns), List, Small Icons, Large Icons and Thumbnails. It serves the file
// commands of the Edit menu and of its own context menus, and its keys:
// Delete, Enter (open), F2 (rename), Ctrl+A (select all), Ctrl+C (copy).
// In Thumbnails the pictures are built in the background while the view
// shows them (CThumbnailImages); a new view or folder starts over. Each new
// capture of the kind shown becomes the one selected row.
// Its files: capture_list_ctrl.cpp (views, selection, keys) and
// capture_list_commands.cpp (the commands and the context menu).
// User-interface thread only.

#include "library/core/capture_lists.h"
#include "library/core/thumbnail_task.h"

#include <QPointer>
#include <QStackedWidget>

#include <string>
#include <vector>

class QAbstractItemView;
class QItemSelectionModel;
class QListView;
class QStatusBar;
class QTreeView;

namespace vistrel {

class CaptureLibrary;
class CaptureListModel;
class CThumbnailImages;

enum ListViewMode : int { VIEW_DETAILS = 0, VIEW_LIST, VIEW_SMALL_ICONS, VIEW_LARGE_ICONS, VIEW_THUMBNAILS };

class CCaptureListCtrl : public QStackedWidget {
    Q_OBJECT
public:
    // library must outlive the list.
    explicit CCaptureListCtrl(CaptureLibrary& library, QWidget* parent = nullptr);

    FolderKind folderKind() const;
    // Switches to another kind; nothing when it shows that kind already.
    void ShowFolder(FolderKind kind);
    ListViewMode viewMode() const { return m_mode; }
    void SetViewMode(ListViewMode mode);
    void SetColumnTitles(const QStringList& titles);
    // Where the thumbnails' progress bar shows (pane 0); null for nowhere.
    void SetStatusBar(QStatusBar* status);
    CThumbnailImages& thumbnails() const { return *m_thumbnails; }

    // Ascending.
    std::vector<int> SelectedRows() const;
    void SelectAll();
    QAbstractItemView* currentView() const;
    CaptureListModel& model() const { return *m_model; }

    // A command of the Edit or View menu or of the context menu: true when the
    // list serves it (also when there is nothing selected to act on).
    bool OnCommand(int id);
    static bool Serves(int id);

signals:
    // The one selected file, "" when none or several are selected.
    void selectedFileChanged(const QString& path);
    // Enter or a double click on one picture or recording: the viewer's hook.
    void openWanted(const QString& path);
    void totalFilesChanged(int count);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetUpView(QAbstractItemView* view);
    void OnSelectionChanged();
    void OpenSelected();
    void RenameSelected();
    void ReportCount();
    // Thumbnails (re)built for the whole list, or none for the AVI folder.
    void StartThumbnails();
    void OnRowsAdded(int first, int last);
    // The rows the icon view shows now.
    VisibleRows RowsOnScreen() const;
    void SelectNewFile(FolderKind kind);
    std::vector<std::string> SelectedPaths() const;

    // capture_list_commands.cpp
    void ShowContextMenu(const QPoint& where);
    void DeleteSelected();
    void CopySelected();
    void CopyPictureToClipboard();
    void CopyOrMoveSelected(bool move);
    void SaveSelectedAs();
    void RunTool(int id);

    CaptureLibrary& m_library;
    CaptureListModel* m_model;
    QItemSelectionModel* m_selection;
    QTreeView* m_details;
    QListView* m_icons;
    CThumbnailImages* m_thumbnails;
    QPointer<QStatusBar> m_status;
    ListViewMode m_mode = VIEW_DETAILS;
    bool m_editorJustClosed = false;
};

} // namespace vistrel
