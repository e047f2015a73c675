#include "library/list_pane.h"

#include "base/trace.h"
#include "library/model/capture_library.h"
#include "platform/qt/desktop_open.h"
#include "ui/pictures/pictures.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QLocale>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vistrel {

namespace {

QString SizeText(qint64 size)
{
    const quint32 low = quint32(size); // as the list shows it: the low 32 bits
    return low < 1024 ? QString("%1 Bytes").arg(low) : QString("%1KB").arg(low / 1024);
}

} // namespace

CListPaneView::CListPaneView(const CaptureLibrary& library, QWidget* parent)
    : QWidget(parent), m_library(library), m_path(new QLineEdit(this)), m_explore(new QToolButton(this)), m_list(new QTreeWidget(this))
{
    m_path->setReadOnly(true);
    m_explore->setIcon(FolderPicture(true));
    m_explore->setToolTip("Explore");
    m_explore->setObjectName("explore");
    auto* pathBar = new QHBoxLayout;
    pathBar->setContentsMargins(0, 0, 0, 0);
    pathBar->setSpacing(2);
    pathBar->addWidget(m_path, 1);
    pathBar->addWidget(m_explore);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addLayout(pathBar);
    layout->addWidget(m_list, 1);

    m_list->setObjectName("captureList");
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setColumnCount(4);
    SetColumnTitles({"File Name", "File Path", "Size", "Creation Date"});
    const int widths[] = {100, 200, 100, 100};
    for (int c = 0; c < 4; ++c)
        m_list->setColumnWidth(c, widths[c]);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &CListPaneView::OnSelectionChanged);
    connect(m_explore, &QToolButton::clicked, this, &CListPaneView::Explore);
    connect(&library, &CaptureLibrary::listChanged, this, &CListPaneView::ShowAppended);
}

void CListPaneView::SetColumnTitles(const QStringList& titles) { m_list->setHeaderLabels(titles); }

int CListPaneView::selectedCount() const { return int(m_list->selectedItems().size()); }

void CListPaneView::ShowFolder(FolderKind kind)
{
    if (kind == m_kind)
        return;
    m_kind = kind;
    Refill();
}

void CListPaneView::Refill()
{
    m_list->clear();
    ShowAppended(m_kind); // from an empty list, every entry is new
    OnSelectionChanged();
}

void CListPaneView::ShowAppended(FolderKind kind)
{
    if (kind != m_kind)
        return;
    const auto& files = m_library.files(kind);
    for (size_t i = size_t(m_list->topLevelItemCount()); i < files.size(); ++i)
        AddRow(files[i]);
    if (TraceEnabled())
        Trace("list kind " + std::to_string(int(kind)) + " shows " + std::to_string(files.size()) + " files");
    emit totalFilesChanged(QString("Total files: %1").arg(m_list->topLevelItemCount()));
}

void CListPaneView::AddRow(const std::string& path)
{
    const QString full = QString::fromStdString(path);
    const QFileInfo info(full);
    auto* item = new QTreeWidgetItem(m_list);
    item->setText(0, info.fileName());
    item->setText(1, full);
    if (info.exists()) {
        item->setText(2, SizeText(info.size()));
        const QDateTime born = info.birthTime().isValid() ? info.birthTime() : info.lastModified();
        item->setText(3, QLocale::c().toString(born, "dddd, MMMM dd, yyyy"));
    }
}

void CListPaneView::OnSelectionChanged()
{
    const auto selected = m_list->selectedItems();
    m_path->setText(selected.size() == 1 ? selected.front()->text(1) : QString());
    emit selectedFileChanged(m_path->text());
}

void CListPaneView::Explore()
{
    const QString path = m_path->text();
    if (path.isEmpty())
        return;
    OpenInDesktop(QFileInfo(path).absolutePath());
}

} // namespace vistrel
