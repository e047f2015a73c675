#include "library/list_pane.h"

#include "library/core/list_texts.h"
#include "library/path_bar.h"

#include <QVBoxLayout>

namespace vistrel {

CListPaneView::CListPaneView(CaptureLibrary& library, QWidget* parent)
    : QWidget(parent), m_pathBar(new CPathBar(this)), m_list(new CCaptureListCtrl(library, this))
{
    setObjectName("listPane");
    setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(m_list);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(m_pathBar);
    layout->addWidget(m_list, 1);
    connect(m_list, &CCaptureListCtrl::selectedFileChanged, this, [this](const QString& path) {
        m_pathBar->SetPath(path);
        emit previewWanted(path);
    });
    connect(m_list, &CCaptureListCtrl::openWanted, this, &CListPaneView::openWanted);
    connect(m_list, &CCaptureListCtrl::totalFilesChanged, this, [this](int count) {
        m_totalFiles = size_t(count);
        ShowTotalFiles();
    });
}

void CListPaneView::SetTotalFilesFormat(const std::string& format)
{
    m_totalFormat = format;
    ShowTotalFiles();
}

void CListPaneView::ShowTotalFiles()
{
    emit totalFilesChanged(QString::fromStdString(TotalFilesText(m_totalFiles, m_totalFormat)));
}

FolderKind CListPaneView::folderKind() const { return m_list->folderKind(); }

void CListPaneView::ShowFolder(FolderKind kind) { m_list->ShowFolder(kind); }

void CListPaneView::SetColumnTitles(const QStringList& titles) { m_list->SetColumnTitles(titles); }

ListViewMode CListPaneView::viewMode() const { return m_list->viewMode(); }

bool CListPaneView::OnCommand(int id) { return m_list->OnCommand(id); }

} // namespace vistrel
