#include "library/folder_tree.h"

#include <algorithm>

#include "ui/pictures/pictures.h"

namespace vistrel {

namespace {

// Item data 1, 2, 3 in tree order; the folder kinds they stand for.
constexpr FolderKind kKinds[] = {FOLDER_BITMAPS, FOLDER_ICONS, FOLDER_AVI};

} // namespace

CFolderTreeCtrl::CFolderTreeCtrl(QWidget* parent) : QTreeWidget(parent)
{
    setObjectName("folderTree");
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    const QIcon closed = FolderPicture(false);
    const char* names[] = {"Captured Bitmap", "Captured Icon", "Captured Avi"};
    for (int i = 0; i < 3; ++i) {
        auto* item = new QTreeWidgetItem(this, QStringList(names[i]));
        item->setIcon(0, closed);
        item->setData(0, Qt::UserRole, i + 1);
    }
    setCurrentItem(topLevelItem(0));
    topLevelItem(0)->setIcon(0, FolderPicture(true));
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this, closed](QTreeWidgetItem* item, QTreeWidgetItem* previous) {
                // The selected folder is shown open.
                if (previous)
                    previous->setIcon(0, closed);
                if (!item)
                    return;
                item->setIcon(0, FolderPicture(true));
                emit folderChosen(kKinds[std::clamp(item->data(0, Qt::UserRole).toInt(), 1, 3) - 1]);
            });
}

void CFolderTreeCtrl::SetFolderNames(const QStringList& names)
{
    for (int i = 0; i < 3 && i < names.size(); ++i)
        topLevelItem(i)->setText(0, names[i]);
}

void CFolderTreeCtrl::SelectKind(FolderKind kind)
{
    for (int i = 0; i < 3; ++i)
        if (kKinds[i] == kind)
            setCurrentItem(topLevelItem(i));
}

} // namespace vistrel
