#include "options/tool_list_page.h"

#include "options/core/tool_list_rules.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vistrel {

struct CToolListPage::Spec {
    DialogId dialog;
    const char* title;
    int noteId;
    const char* note;
    int listId, addId, editId, defaultId, deleteId;
    std::vector<ToolEntry> CEnv::*tools;
};

namespace {

const CToolListPage::Spec kSpecs[] = {
    {DialogId::BitmapTools, "Bitmap Tools", 1121,
     "You can select several bitmap editors to help you edit the captureed bitmap", 1109, 1014, 1015, 1016, 1017,
     &CEnv::m_bitmapTools},
    {DialogId::AviTools, "AVI Tools", 1204, "Select your favourite tools to player or edit captured avi files", 1110,
     1111, 1112, 1113, 1114, &CEnv::m_aviTools},
};

QString Qs(const std::string& text) { return QString::fromStdString(text); }

// Only the name column is edited in place; the path comes from the file picker.
class NameOnlyDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        return index.column() == 0 ? QStyledItemDelegate::createEditor(parent, option, index) : nullptr;
    }
};

// The mark of the default program: a check in a green disc.
QIcon DefaultMark()
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 150, 60));
    painter.drawEllipse(1, 1, 14, 14);
    painter.setPen(QPen(Qt::white, 2));
    painter.drawPolyline(QPolygon({QPoint(4, 8), QPoint(7, 11), QPoint(12, 5)}));
    return QIcon(picture);
}

} // namespace

CToolListPage::CToolListPage(QWidget* parent, Kind kind)
    : COptionsPage(parent), m_spec(kSpecs[kind == Kind::Bitmap ? 0 : 1]), m_rows(theEnv.*m_spec.tools)
{
    setWindowTitle(m_spec.title);
    DialogControls controls;
    auto* note = new QLabel(m_spec.note, this);
    note->setWordWrap(true);
    controls[m_spec.noteId] = note;
    BuildList();
    QWidget* buttons = BuildButtons(controls);
    controls[m_spec.listId] = m_list;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(note);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    RegisterControls(m_spec.dialog, std::move(controls));
    Refill(-1);
    Connect();
}

void CToolListPage::BuildList()
{
    m_list = new QTreeWidget(this);
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({DialogText(m_spec.dialog, "Name"), DialogText(m_spec.dialog, "Application Path")});
    m_list->setRootIsDecorated(false);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    m_list->setItemDelegate(new NameOnlyDelegate(m_list));
    m_list->setIconSize(QSize(16, 16));
    m_list->setMinimumSize(380, 200);
}

QWidget* CToolListPage::BuildButtons(DialogControls& controls)
{
    auto* row = new QWidget(this);
    m_add = new QPushButton("&Add", row);
    m_edit = new QPushButton("&Edit", row);
    m_default = new QPushButton("De&fault", row);
    m_delete = new QPushButton("&Delete", row);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);
    for (QPushButton* button : {m_add, m_edit, m_default, m_delete}) {
        button->setAutoDefault(false);
        layout->addWidget(button);
    }
    controls[m_spec.addId] = m_add;
    controls[m_spec.editId] = m_edit;
    controls[m_spec.defaultId] = m_default;
    controls[m_spec.deleteId] = m_delete;
    return row;
}

void CToolListPage::Connect()
{
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &CToolListPage::UpdateButtons);
    connect(m_list, &QTreeWidget::itemChanged, this, &CToolListPage::OnNameEdited);
    connect(m_add, &QPushButton::clicked, this, &CToolListPage::OnAdd);
    connect(m_edit, &QPushButton::clicked, this, &CToolListPage::EditSelected);
    connect(m_default, &QPushButton::clicked, this, &CToolListPage::MarkSelectedDefault);
    connect(m_delete, &QPushButton::clicked, this, &CToolListPage::DeleteSelected);
}

void CToolListPage::showEvent(QShowEvent* event)
{
    COptionsPage::showEvent(event);
    m_list->setColumnWidth(0, m_list->viewport()->width() * 2 / 5);
}

void CToolListPage::Refill(int selectRow)
{
    const QSignalBlocker block(m_list);
    m_list->clear();
    const QIcon mark = DefaultMark();
    for (const ToolEntry& row : m_rows) {
        auto* item = new QTreeWidgetItem(m_list, {Qs(row.name), Qs(row.command)});
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        if (row.isDefault)
            item->setIcon(0, mark);
    }
    if (selectRow >= 0 && selectRow < m_list->topLevelItemCount())
        m_list->setCurrentItem(m_list->topLevelItem(selectRow));
    UpdateButtons();
}

int CToolListPage::SelectedRow() const
{
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->indexOfTopLevelItem(selected.front());
}

void CToolListPage::UpdateButtons()
{
    const bool enabled = ToolButtonsEnabled(m_rows.size(), SelectedRow() >= 0);
    for (QPushButton* button : {m_edit, m_default, m_delete})
        button->setEnabled(enabled);
}

void CToolListPage::OnAdd()
{
    const int selected = SelectedRow();
    const QString start = selected >= 0 ? Qs(ToolFolder(m_rows[size_t(selected)].command)) : QString();
    QFileDialog picker(this, QString(), start);
    picker.setFileMode(QFileDialog::ExistingFile);
    picker.setOption(QFileDialog::ReadOnly);
    picker.setOption(QFileDialog::DontUseNativeDialog); // the filter on the executable bit needs our own
    picker.setNameFilters({"Programs (*)", "All Files (*)"});
    picker.setFilter(QDir::AllDirs | QDir::Files | QDir::Executable | QDir::NoDotAndDotDot);
    connect(&picker, &QFileDialog::filterSelected, &picker, [&picker](const QString& filter) {
        QDir::Filters filters = QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot;
        if (filter.startsWith("Programs"))
            filters |= QDir::Executable;
        picker.setFilter(filters);
    });
    if (picker.exec() == QDialog::Accepted && !picker.selectedFiles().isEmpty())
        AddProgram(picker.selectedFiles().front().toStdString());
}

void CToolListPage::AddProgram(const std::string& path)
{
    if (!AddTool(m_rows, path))
        return;
    Refill(SelectedRow());
    emit changed();
}

void CToolListPage::EditSelected()
{
    const int selected = SelectedRow();
    if (selected < 0)
        return;
    m_list->setFocus();
    m_list->editItem(m_list->topLevelItem(selected), 0);
}

void CToolListPage::OnNameEdited(QTreeWidgetItem* item, int column)
{
    const int row = m_list->indexOfTopLevelItem(item);
    if (row < 0 || column != 0)
        return;
    ToolEntry& entry = m_rows[size_t(row)];
    entry.name = EditedToolName(item->text(0).toStdString(), entry.name);
    const QSignalBlocker block(m_list);
    item->setText(0, Qs(entry.name));
    emit changed();
}

void CToolListPage::MarkSelectedDefault()
{
    const int selected = SelectedRow();
    if (selected < 0)
        return;
    MarkDefaultTool(m_rows, size_t(selected));
    Refill(selected);
    emit changed();
}

void CToolListPage::DeleteSelected()
{
    const int selected = SelectedRow();
    if (selected < 0)
        return;
    DeleteTool(m_rows, size_t(selected));
    Refill(-1);
    emit changed();
}

bool CToolListPage::OnApply()
{
    theEnv.*m_spec.tools = m_rows;
    return true;
}

} // namespace vistrel
