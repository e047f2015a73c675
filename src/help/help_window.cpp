#include "help/help_window.h"

#include "base/trace.h"
#include "help/core/help_pages.h"
#include "help/core/link_errors.h"
#include "help/goto_url.h"
#include "ui/pictures/pictures.h"

#include <QAction>
#include <QDockWidget>
#include <QFile>
#include <QListWidget>
#include <QScrollBar>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>

#include <algorithm>

namespace vistrel {

namespace {

constexpr qint64 kIndexPageLimitBytes = 1 << 20;
constexpr int kIndexMinWidthPx = 160;
constexpr int kIndexMaxWidthPx = 320;
constexpr int kIndexSlackPx = 8;
constexpr char kTitle[] = "Vistrel Help";

QString Qs(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

} // namespace

CHelpWindow::CHelpWindow(const QString& folder, QWidget* parent)
    : QMainWindow(parent, Qt::Window), m_folder(folder), m_browser(new QTextBrowser(this))
{
    setObjectName("helpWindow");
    setWindowIcon(ApplicationIcon());
    setWindowTitle(kTitle);
    resize(860, 620);
    m_browser->setObjectName("helpPage");
    m_browser->setOpenLinks(false);
    m_browser->setSearchPaths({folder});
    setCentralWidget(m_browser);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &CHelpWindow::OnLink);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &CHelpWindow::OnPageShown);
    BuildToolBar();
    BuildIndex();
    if (folder.isEmpty())
        m_browser->setHtml("<h2>Help is not available</h2><p>The help pages were not found. They are installed "
                           "in <tt>share/vistrel/help</tt> beside the program's <tt>bin</tt> folder.</p>");
}

void CHelpWindow::BuildToolBar()
{
    QToolBar* bar = addToolBar("Navigation");
    bar->setObjectName("helpToolBar");
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QAction* back = bar->addAction("&Back", m_browser, &QTextBrowser::backward);
    QAction* forward = bar->addAction("&Forward", m_browser, &QTextBrowser::forward);
    bar->addAction("&Home", this, &CHelpWindow::ShowContents);
    bar->addAction("&Index", this, &CHelpWindow::ShowIndex);
    back->setShortcut(QKeySequence::Back);
    forward->setShortcut(QKeySequence::Forward);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
}

void CHelpWindow::BuildIndex()
{
    auto* dock = new QDockWidget("Index", this);
    dock->setObjectName("helpIndexBar");
    dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    m_index = new QListWidget(dock);
    m_index->setObjectName("helpIndex");
    dock->setWidget(m_index);
    addDockWidget(Qt::LeftDockWidgetArea, dock);
    QFile page(m_folder + "/" + Qs(kHelpIndexPage));
    if (!m_folder.isEmpty() && page.open(QIODevice::ReadOnly)) {
        for (const auto& entry : ParseHelpIndex(page.read(kIndexPageLimitBytes).toStdString())) {
            auto* item = new QListWidgetItem(QString::fromStdString(entry.text), m_index);
            item->setData(Qt::UserRole, QString::fromStdString(entry.href));
        }
    }
    // Wide enough for the longest entry, within reason.
    const int width = m_index->sizeHintForColumn(0) + m_index->verticalScrollBar()->sizeHint().width() +
                      2 * m_index->frameWidth() + kIndexSlackPx;
    m_index->setMinimumWidth(std::clamp(width, kIndexMinWidthPx, kIndexMaxWidthPx));
    auto open = [this](QListWidgetItem* item) { ShowPage(item->data(Qt::UserRole).toString()); };
    connect(m_index, &QListWidget::itemActivated, this, open);
    connect(m_index, &QListWidget::itemClicked, this, open);
}

void CHelpWindow::ShowContents() { ShowPage(Qs(kHelpStartPage)); }

void CHelpWindow::ShowIndex()
{
    ShowPage(Qs(kHelpIndexPage));
    m_index->setFocus();
    if (m_index->currentRow() < 0 && m_index->count() > 0)
        m_index->setCurrentRow(0);
}

void CHelpWindow::ShowPage(const QString& page)
{
    if (!m_folder.isEmpty())
        m_browser->setSource(QUrl::fromLocalFile(m_folder + "/").resolved(QUrl(page)));
    show();
    raise();
    activateWindow();
}

void CHelpWindow::OnLink(const QUrl& url)
{
    const QUrl target = m_browser->source().resolved(url);
    if (target.isLocalFile()) {
        m_browser->setSource(target);
        return;
    }
    const int result = GotoURL(target.toString());
    if (result <= kOpenedAbove)
        ReportLinkError(this, result);
}

void CHelpWindow::OnPageShown(const QUrl& page)
{
    const QString title = m_browser->documentTitle();
    setWindowTitle(title.isEmpty() ? QString(kTitle) : QString(kTitle) + " - " + title);
    Trace("help page " + page.fileName().toStdString());
}

} // namespace vistrel
