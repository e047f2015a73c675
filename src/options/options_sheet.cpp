#include "options/options_sheet.h"

#include "options/options_page.h"
#include "ui/dialog_texts.h"
#include "ui/pictures/pictures.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vistrel {

namespace {

enum ControlId : int { IDC_OK = 1, IDC_CANCEL = 2, IDC_APPLY = 1014, IDC_TREE = 1099 };

constexpr int kMargin = 10;
constexpr char kSaveFailedKey[] = "The settings could not be saved.";

} // namespace

CTPropertySheet::CTPropertySheet(QWidget* parent, std::function<bool()> save)
    : QDialog(parent), m_save(std::move(save)), m_tree(new QTreeWidget(this)), m_area(new QStackedWidget(this)),
      m_host(*m_area)
{
    setObjectName("optionsSheet");
    setWindowTitle("Option");
    setWindowIcon(CommandPicture(32811));
    m_tree->setObjectName(QString("id%1").arg(IDC_TREE));
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(true);
    m_tree->setFixedWidth(150);

    auto* separator = new QFrame(this);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    auto* pages = new QHBoxLayout;
    pages->setSpacing(kMargin);
    pages->addWidget(m_tree);
    pages->addWidget(m_area, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->addLayout(pages, 1);
    layout->addWidget(separator);
    layout->addWidget(BuildButtonRow());
    layout->setSizeConstraint(QLayout::SetFixedSize);

    TranslateDialogWidgets(*this, DialogId::Option, {{IDC_OK, m_ok}, {IDC_CANCEL, m_cancel}, {IDC_APPLY, m_apply}});
    connect(m_tree, &QTreeWidget::currentItemChanged, this, &CTPropertySheet::OnTreeSelection);
    connect(m_ok, &QPushButton::clicked, this, &CTPropertySheet::accept);
    connect(m_cancel, &QPushButton::clicked, this, &CTPropertySheet::reject);
    connect(m_apply, &QPushButton::clicked, this, &CTPropertySheet::OnApplyNow);
}

QWidget* CTPropertySheet::BuildButtonRow()
{
    auto* row = new QWidget(this);
    auto* logo = new QLabel("Vistrel", row);
    logo->setObjectName("optionsLogo");
    QFont font = logo->font();
    font.setBold(true);
    font.setItalic(true);
    font.setPointSizeF(font.pointSizeF() * 1.4);
    logo->setFont(font);
    logo->setStyleSheet("color: rgb(40, 90, 160);");
    m_ok = new QPushButton("OK", row);
    m_cancel = new QPushButton("Cancel", row);
    m_apply = new QPushButton("&Apply", row);
    NameControls({{IDC_OK, m_ok}, {IDC_CANCEL, m_cancel}, {IDC_APPLY, m_apply}});
    m_ok->setDefault(true);
    m_cancel->setAutoDefault(false);
    m_apply->setAutoDefault(false);
    m_apply->setEnabled(false);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(kMargin);
    layout->addWidget(logo);
    layout->addStretch(1);
    for (QPushButton* button : {m_ok, m_cancel, m_apply})
        layout->addWidget(button);
    return row;
}

void CTPropertySheet::AddPage(COptionsPage* page, const QString& title, COptionsPage* parentPage)
{
    m_entries.push_back({page, title, parentPage});
    m_host.AddPage(page);
    connect(page, &COptionsPage::changed, m_apply, [this] { m_apply->setEnabled(true); });
}

void CTPropertySheet::Start(COptionsPage* shown)
{
    for (const Entry& entry : m_entries) {
        QTreeWidgetItem* parentItem = m_items.value(entry.parent, nullptr);
        auto* item = parentItem ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem(m_tree);
        item->setText(0, entry.title.isEmpty() ? entry.page->windowTitle() : entry.title);
        m_items.insert(entry.page, item);
    }
    m_tree->expandAll();
    // The pages were made after the buttons; Tab goes from the tree into the page.
    QWidget* last = this;
    while (last->nextInFocusChain() != this)
        last = last->nextInFocusChain();
    setTabOrder(last, m_ok);
    setTabOrder(m_ok, m_cancel);
    setTabOrder(m_cancel, m_apply);
    if (COptionsPage* first = shown ? shown : m_host.GetPage(0)) {
        m_tree->setCurrentItem(m_items.value(first));
        m_host.ShowPage(first);
    }
    m_tree->setFocus();
}

QPushButton* CTPropertySheet::Button(int id) const
{
    switch (id) {
    case IDC_OK: return m_ok;
    case IDC_CANCEL: return m_cancel;
    case IDC_APPLY: return m_apply;
    default: return nullptr;
    }
}

void CTPropertySheet::OnTreeSelection(QTreeWidgetItem* current, QTreeWidgetItem* previous)
{
    COptionsPage* page = m_items.key(current, nullptr);
    if (!page || m_host.ShowPage(page))
        return;
    // The shown page keeps the focus on what it refused; the tree follows it.
    const QSignalBlocker block(m_tree);
    m_tree->setCurrentItem(previous);
}

void CTPropertySheet::OnApplyNow()
{
    if (m_host.ApplyAll()) {
        m_applied = true;
        m_apply->setEnabled(false);
    }
}

void CTPropertySheet::accept()
{
    if (!m_host.ApplyAll())
        return;
    m_applied = true;
    QDialog::accept();
    if (m_save && !m_save())
        QMessageBox::warning(parentWidget(), DialogText(DialogId::Option, "Option"),
                             DialogText(DialogId::Option, kSaveFailedKey));
}

void CTPropertySheet::reject()
{
    if (!m_host.QueryCancelAll())
        return;
    m_host.ResetAll();
    QDialog::reject();
}

} // namespace vistrel
