#include "library/capture_list_ctrl.h"

#include "base/trace.h"
#include "library/capture_list_model.h"
#include "library/model/capture_library.h"
#include "library/thumbnail_images.h"
#include "ui/dialog_texts.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListView>
#include <QMessageBox>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>

#include <algorithm>

namespace vistrel {

namespace {

constexpr int kColumnWidths[] = {100, 200, 100, 100};

struct IconLayout {
    QListView::ViewMode mode;
    QListView::Flow flow;
    PictureSize picture;
    QSize grid; // empty: the items' own sizes
};

// By ListViewMode, from List on.
const IconLayout kIconLayouts[] = {
    {QListView::ListMode, QListView::TopToBottom, PictureSize::Small, {}},
    {QListView::ListMode, QListView::LeftToRight, PictureSize::Small, {170, 22}},
    {QListView::IconMode, QListView::LeftToRight, PictureSize::Large, {110, 78}},
    {QListView::IconMode, QListView::LeftToRight, PictureSize::Thumbnail, {150, 146}},
};

} // namespace

CCaptureListCtrl::CCaptureListCtrl(CaptureLibrary& library, QWidget* parent)
    : QStackedWidget(parent), m_library(library), m_model(new CaptureListModel(library, this)),
      m_selection(new QItemSelectionModel(m_model, this)), m_details(new QTreeView(this)), m_icons(new QListView(this)),
      m_thumbnails(new CThumbnailImages(ThumbnailCache::DefaultFolder(), this))
{
    setObjectName("captureList");
    m_details->setObjectName("detailsView");
    m_icons->setObjectName("iconsView");
    m_details->setRootIsDecorated(false);
    m_details->setUniformRowHeights(true);
    m_details->setAllColumnsShowFocus(true);
    m_details->header()->setStretchLastSection(false);
    m_icons->setResizeMode(QListView::Adjust);
    m_icons->setMovement(QListView::Static);
    m_icons->setWrapping(true);
    m_icons->setWordWrap(true);
    m_icons->setTextElideMode(Qt::ElideMiddle);
    SetUpView(m_details);
    SetUpView(m_icons);
    for (int c = 0; c < 4; ++c)
        m_details->setColumnWidth(c, kColumnWidths[c]);
    addWidget(m_details);
    addWidget(m_icons);
    connect(m_selection, &QItemSelectionModel::selectionChanged, this, &CCaptureListCtrl::OnSelectionChanged);
    connect(m_model, &QAbstractItemModel::modelReset, this, &CCaptureListCtrl::ReportCount);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &CCaptureListCtrl::ReportCount);
    connect(m_model, &QAbstractItemModel::modelReset, this, &CCaptureListCtrl::OnSelectionChanged);
    connect(m_model, &CaptureListModel::renameFailed, this, [this](const QString& path, const QString& reason) {
        Trace("rename refused: " + reason.toStdString());
        QMessageBox::warning(this, "Vistrel", DialogText(DialogId::FileOperations, "The file could not be renamed:") +
                                                  "\n" + path + "\n" + reason);
    });
    m_model->SetThumbnails(m_thumbnails);
    connect(m_thumbnails, &CThumbnailImages::pictureReady, m_model, &CaptureListModel::ThumbnailReady);
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        if (m_mode == VIEW_THUMBNAILS)
            StartThumbnails();
    });
    connect(m_model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { OnRowsAdded(first, last); });
    auto followScreen = [this] { m_thumbnails->SetVisibleRows(RowsOnScreen()); };
    connect(m_icons->verticalScrollBar(), &QScrollBar::valueChanged, this, followScreen);
    connect(m_icons->verticalScrollBar(), &QScrollBar::rangeChanged, this, followScreen);
    connect(&library, &CaptureLibrary::fileAdded, this, &CCaptureListCtrl::SelectNewFile);
    setCurrentWidget(m_details);
    setFocusProxy(m_details);
}

void CCaptureListCtrl::SetUpView(QAbstractItemView* view)
{
    view->setModel(m_model);
    view->setSelectionModel(m_selection);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers); // F2 starts it, on the first selected row
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    view->installEventFilter(this);
    connect(view, &QWidget::customContextMenuRequested, this,
            [this, view](const QPoint& pos) { ShowContextMenu(view->viewport()->mapToGlobal(pos)); });
    connect(view, &QAbstractItemView::doubleClicked, this, &CCaptureListCtrl::OpenSelected);
    // The Return that ends a rename reaches the view too, once the editor is
    // gone; it opens nothing.
    connect(view->itemDelegate(), &QAbstractItemDelegate::closeEditor, this, [this] {
        m_editorJustClosed = true;
        QTimer::singleShot(0, this, [this] { m_editorJustClosed = false; });
    });
}

FolderKind CCaptureListCtrl::folderKind() const { return m_model->kind(); }

void CCaptureListCtrl::ShowFolder(FolderKind kind)
{
    if (kind == m_model->kind())
        return;
    m_model->SetKind(kind);
}

void CCaptureListCtrl::SetViewMode(ListViewMode mode)
{
    const bool wasThumbnails = m_mode == VIEW_THUMBNAILS;
    m_mode = mode;
    if (mode != VIEW_THUMBNAILS)
        m_thumbnails->Stop();
    if (mode == VIEW_DETAILS) {
        m_model->SetPictureSize(PictureSize::Small);
        setCurrentWidget(m_details);
    } else {
        const IconLayout& layout = kIconLayouts[mode - 1];
        m_icons->setViewMode(layout.mode);
        m_icons->setFlow(layout.flow);
        m_icons->setWrapping(true);
        m_icons->setIconSize(PictureSizeOf(layout.picture));
        m_icons->setGridSize(layout.grid);
        m_icons->setMovement(QListView::Static);
        m_model->SetPictureSize(layout.picture);
        setCurrentWidget(m_icons);
        if (mode == VIEW_THUMBNAILS && !wasThumbnails)
            StartThumbnails();
    }
    setFocusProxy(currentView());
    if (TraceEnabled())
        Trace("list view " + std::to_string(int(mode)));
}

void CCaptureListCtrl::SetStatusBar(QStatusBar* status) { m_status = status; }

void CCaptureListCtrl::StartThumbnails()
{
    const FolderKind kind = m_model->kind();
    if (kind == FOLDER_AVI) {
        m_thumbnails->Stop(); // the recordings share one picture
        return;
    }
    m_thumbnails->Build(m_library.files(kind), kind, RowsOnScreen(), m_status);
}

void CCaptureListCtrl::OnRowsAdded(int first, int last)
{
    if (m_mode != VIEW_THUMBNAILS || m_model->kind() == FOLDER_AVI)
        return;
    std::vector<std::string> paths;
    for (int row = first; row <= last; ++row)
        paths.push_back(m_model->PathAt(row));
    m_thumbnails->Add(paths);
}

VisibleRows CCaptureListCtrl::RowsOnScreen() const
{
    const int rows = m_model->rowCount();
    const QRect area = m_icons->viewport()->rect();
    if (rows == 0 || m_icons->isHidden())
        return {};
    // The icon view places rows in reading order, so the rows on screen are
    // one run: the first whose cell ends below the top to the last whose cell
    // starts above the bottom.
    auto firstWhere = [&](auto wanted) {
        int low = 0, high = rows;
        while (low < high) {
            const int middle = (low + high) / 2;
            if (wanted(m_icons->visualRect(m_model->index(middle, 0))))
                high = middle;
            else
                low = middle + 1;
        }
        return low;
    };
    const int first = firstWhere([&](const QRect& cell) { return cell.bottom() >= area.top(); });
    const int end = firstWhere([&](const QRect& cell) { return cell.top() > area.bottom(); });
    if (first >= end)
        return {};
    return {size_t(first), size_t(end - 1)};
}

void CCaptureListCtrl::SelectNewFile(FolderKind kind)
{
    const int rows = m_model->rowCount();
    if (kind != m_model->kind() || rows == 0)
        return;
    const QModelIndex added = m_model->index(rows - 1, 0);
    m_selection->setCurrentIndex(added, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    currentView()->scrollTo(added);
}

void CCaptureListCtrl::SetColumnTitles(const QStringList& titles) { m_model->SetColumnTitles(titles); }

QAbstractItemView* CCaptureListCtrl::currentView() const
{
    return m_mode == VIEW_DETAILS ? static_cast<QAbstractItemView*>(m_details) : m_icons;
}

std::vector<int> CCaptureListCtrl::SelectedRows() const
{
    std::vector<int> rows;
    for (const QModelIndex& index : m_selection->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<std::string> CCaptureListCtrl::SelectedPaths() const
{
    std::vector<std::string> paths;
    for (int row : SelectedRows())
        paths.push_back(m_model->PathAt(row));
    return paths;
}

void CCaptureListCtrl::SelectAll()
{
    const int rows = m_model->rowCount();
    if (rows == 0)
        return;
    m_selection->select(QItemSelection(m_model->index(0, 0), m_model->index(rows - 1, m_model->columnCount() - 1)),
                        QItemSelectionModel::ClearAndSelect);
    m_selection->setCurrentIndex(m_model->index(0, 0), QItemSelectionModel::NoUpdate);
}

void CCaptureListCtrl::OnSelectionChanged()
{
    const auto rows = SelectedRows();
    const QString path = rows.size() == 1 ? QString::fromStdString(m_model->PathAt(rows.front())) : QString();
    if (TraceEnabled())
        Trace("selected " + path.toStdString());
    emit selectedFileChanged(path);
}

void CCaptureListCtrl::OpenSelected()
{
    const auto rows = SelectedRows();
    if (m_model->kind() == FOLDER_ICONS || rows.size() != 1)
        return;
    emit openWanted(QString::fromStdString(m_model->PathAt(rows.front())));
}

void CCaptureListCtrl::RenameSelected()
{
    const auto rows = SelectedRows();
    if (rows.empty())
        return;
    QAbstractItemView* view = currentView();
    const QModelIndex index = m_model->index(rows.front(), 0);
    view->scrollTo(index);
    view->edit(index);
}

void CCaptureListCtrl::ReportCount()
{
    const int count = m_model->rowCount();
    if (TraceEnabled())
        Trace("list kind " + std::to_string(int(m_model->kind())) + " shows " + std::to_string(count) + " files");
    emit totalFilesChanged(count);
}

bool CCaptureListCtrl::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || (watched != m_details && watched != m_icons))
        return QStackedWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    // While a name is edited the keys go to the editor, not to the view.
    if (m_editorJustClosed)
        return false;
    if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
        DeleteSelected();
        return true;
    }
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() == Qt::NoModifier) {
        OpenSelected();
        return true;
    }
    if (key->key() == Qt::Key_F2 && key->modifiers() == Qt::NoModifier) {
        RenameSelected();
        return true;
    }
    if (key->matches(QKeySequence::SelectAll)) {
        SelectAll();
        return true;
    }
    if (key->matches(QKeySequence::Copy)) {
        CopySelected();
        return true;
    }
    return false;
}

} // namespace vistrel
