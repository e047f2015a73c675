#pragma once
// CFolderTreeCtrl: the three virtual folders of the library, one per kind of
// capture. Selecting one switches the list. User-interface thread only.

#include "library/core/capture_lists.h"

#include <QTreeWidget>

namespace vistrel {

class CFolderTreeCtrl : public QTreeWidget {
    Q_OBJECT
public:
    explicit CFolderTreeCtrl(QWidget* parent = nullptr);

    // By position: 0 "Captured Bitmap", 1 "Captured Icon", 2 "Captured Avi".
    void SetFolderNames(const QStringList& names);
    void SelectKind(FolderKind kind);

signals:
    void folderChosen(FolderKind kind);
};

} // namespace vistrel
