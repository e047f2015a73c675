#pragma once
// CListPaneView: the right-hand side of the main window: the path bar on top
// and the captured-file list below it. The main window offers it every command
// first; it serves the list's. User-interface thread only.

#include "library/capture_list_ctrl.h"
#include "i18n/language_texts.h"
#include "library/core/capture_lists.h"

#include <QWidget>

#include <string>

namespace vistrel {

class CaptureLibrary;
class CPathBar;

class CListPaneView : public QWidget {
    Q_OBJECT
public:
    // library must outlive the pane.
    CListPaneView(CaptureLibrary& library, QWidget* parent = nullptr);

    FolderKind folderKind() const;
    // Switches the list to another kind; nothing when it shows that kind already.
    void ShowFolder(FolderKind kind);
    void SetColumnTitles(const QStringList& titles);
    // The file count's text with "%d" for the count (a language change): the
    // count is shown again in it.
    void SetTotalFilesFormat(const std::string& format);
    ListViewMode viewMode() const;
    CCaptureListCtrl& list() const { return *m_list; }

    // True when the command is the list's: it ran (or had nothing to act on).
    bool OnCommand(int id);

signals:
    void totalFilesChanged(const QString& text);
    // The viewer's hook: Enter or a double click on one picture or recording.
    void openWanted(const QString& path);
    // The one selected file for the preview, "" for none.
    void previewWanted(const QString& path);

private:
    void ShowTotalFiles();

    CPathBar* m_pathBar;
    CCaptureListCtrl* m_list;
    std::string m_totalFormat {kTotalFilesKey};
    size_t m_totalFiles = 0;
};

} // namespace vistrel
