#pragma once
// CListPaneView: the right-hand side of the main window. The path bar on top
// shows the selected file's path and opens its folder; below it the list of the
// files captured or found in this run, of one folder kind at a time, in
// details, following the capture library. User-interface thread only.

#include "library/core/capture_lists.h"

#include <QWidget>

class QLineEdit;
class QToolButton;
class QTreeWidget;

namespace vistrel {

class CaptureLibrary;

class CListPaneView : public QWidget {
    Q_OBJECT
public:
    // library must outlive the pane.
    CListPaneView(const CaptureLibrary& library, QWidget* parent = nullptr);

    FolderKind folderKind() const { return m_kind; }
    // Switches the list to another kind; nothing when it shows that kind already.
    void ShowFolder(FolderKind kind);
    void SetColumnTitles(const QStringList& titles);
    int selectedCount() const;

signals:
    void totalFilesChanged(const QString& text);
    // The one selected file's path, or empty for none or several.
    void selectedFileChanged(const QString& path);

private:
    // kind's list changed: shows the new entries if that kind is on screen.
    void ShowAppended(FolderKind kind);
    void AddRow(const std::string& path);
    void Refill();
    void OnSelectionChanged();
    void Explore();

    const CaptureLibrary& m_library;
    FolderKind m_kind = FOLDER_BITMAPS;
    QLineEdit* m_path;
    QToolButton* m_explore;
    QTreeWidget* m_list;
};

} // namespace vistrel
