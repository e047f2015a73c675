#include "mainframe/main_frame.h"

#include "base/registry_store.h"
#include "base/trace.h"
#include "capture/capture_flow.h"
#include "capture/timer_flow.h"
#include "mainframe/capture_feedback.h"
#include "commands/command_ids.h"
#include "commands/menu_layout.h"
#include "help/about_box.h"
#include "help/core/help_pages.h"
#include "help/core/product_links.h"
#include "help/goto_url.h"
#include "help/help_window.h"
#include "i18n/language_menu.h"
#include "icons/icon_search_dialog.h"
#include "library/core/list_texts.h"
#include "library/folder_tree.h"
#include "library/list_pane.h"
#include "library/model/capture_library.h"
#include "library/preview_wnd.h"
#include "options/options_sheet.h"
#include "record/record_flow.h"
#include "settings/hotkey_setting.h"
#include "settings/env.h"
#include "settings/preferences.h"
#include "ui/pictures/pictures.h"
#include "ui/tray_notify_icon.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <cstdio>

namespace vistrel {

namespace {

const char* const kBarsKey = "Software\\Tessaro Works\\Vistrel\\bars info";
constexpr int kLockKeyPollMs = 250;
constexpr int kToolImageSide = 30;

// Commands whose work is there; the others wait for their windows and dialogs.
bool CommandAvailable(int id)
{
    if (CCaptureListCtrl::Serves(id))
        return true;
    switch (id) {
    case ID_CAPTURE_FULLSCREEN:
    case ID_CAPTURE_RECTANGLE:
    case ID_CAPTURE_CIRCLE:
    case ID_CAPTURE_ELLIPSE:
    case ID_CAPTURE_POLYGON:
    case ID_CAPTURE_OBJECT:
    case ID_CAPTURE_ICONS:
    case ID_CAPTURE_TIMER:
    case ID_STOP_TIMER_CAPTURE:
    case ID_RECORD_AVI:
    case ID_OPTION:
    case ID_SHOW_MAIN_WINDOW:
    case ID_APP_EXIT:
    case ID_VIEW_TOOLBAR:
    case ID_VIEW_STATUS_BAR:
    case ID_VIEW_FOLDER_BAR:
    case ID_VIEW_PREVIEW_BAR:
    case ID_HELP_CONTENTS:
    case ID_HELP_INDEX:
    case ID_HELP_WEBSITE:
    case ID_APP_ABOUT: return true;
    default: return false;
    }
}

bool IsBarToggle(int id)
{
    return id == ID_VIEW_TOOLBAR || id == ID_VIEW_STATUS_BAR || id == ID_VIEW_FOLDER_BAR || id == ID_VIEW_PREVIEW_BAR;
}

// The View menu's five modes, by ListViewMode.
constexpr int kViewModeCommands[] = {ID_VIEW_DETAILS, ID_VIEW_LIST, ID_VIEW_SMALL_ICONS, ID_VIEW_LARGE_ICONS,
                                     ID_VIEW_THUMBNAILS};

bool IsViewMode(int id)
{
    return std::find(std::begin(kViewModeCommands), std::end(kViewModeCommands), id) != std::end(kViewModeCommands);
}

} // namespace

CMainFrame::CMainFrame(CaptureLibrary& library) : m_library(library)
{
    setWindowTitle("Vistrel");
    setWindowIcon(ApplicationIcon());
    setObjectName("mainFrame");
    resize(760, 520);

    m_listPane = new CListPaneView(library, this);
    setCentralWidget(m_listPane);
    BuildMenus();
    BuildToolBar();
    BuildStatusBar();
    BuildBars();
    RestoreBarState();

    m_captureFlow = std::make_unique<CaptureFlow>(theEnv, library, m_busy, m_hotkeys, this, [this] { return m_bInTray; });
    connect(m_captureFlow.get(), &CaptureFlow::folderWanted, this, [this](FolderKind kind) { ShowFolder(kind, true); });
    connect(m_captureFlow.get(), &CaptureFlow::mainWindowWanted, this, &CMainFrame::OnShowMainWindow);
    connect(m_captureFlow.get(), &CaptureFlow::saveFailed, this, &CMainFrame::ShowSaveFailure);
    m_timerFlow = std::make_unique<TimerFlow>(theEnv, library, m_busy, this, [this](int id) { OnCommand(id); });
    connect(m_timerFlow.get(), &TimerFlow::folderWanted, this, [this](FolderKind kind) { ShowFolder(kind, true); });
    connect(m_timerFlow.get(), &TimerFlow::showMouseChosen, this, [this](bool show) { m_captureFlow->SetShowMouse(show); });
    connect(m_timerFlow.get(), &TimerFlow::mainWindowWanted, this, &CMainFrame::OnShowMainWindow);
    connect(m_timerFlow.get(), &TimerFlow::saveFailed, this, &CMainFrame::ShowSaveFailure);
    connect(m_timerFlow.get(), &TimerFlow::runningChanged, this, &CMainFrame::UpdateCommandStates);
    m_recordFlow = std::make_unique<RecordFlow>(library, m_busy, this);
    connect(m_recordFlow.get(), &RecordFlow::folderWanted, this, [this](FolderKind kind) { ShowFolder(kind, true); });
    connect(m_recordFlow.get(), &RecordFlow::recordingStatus, this, &CMainFrame::ShowRecordingStatus);
    m_feedback = std::make_unique<CaptureFeedback>(library);
    connect(m_timerFlow.get(), &TimerFlow::runningChanged, m_feedback.get(), &CaptureFeedback::SetTimerRunning);
    connect(m_listPane, &CListPaneView::totalFilesChanged, m_totalPane, &QLabel::setText);
    connect(m_listPane, &CListPaneView::previewWanted, m_preview, &CPreviewWnd::LoadPreview);
    connect(m_preview, &CPreviewWnd::statusTextChanged, m_infoPane, &QLabel::setText);
    connect(m_listPane, &CListPaneView::openWanted, this, [this](const QString& path) {
        if (m_listPane->folderKind() == FOLDER_BITMAPS)
            m_preview->OpenViewer(path);
    });
    TranslateMenus();
}

void CMainFrame::StartServices()
{
    connect(&m_hotkeys, &X11Hotkeys::hotkeyPressed, this, &CMainFrame::OnHotKey);
    theEnv.SetHotkeyRegistrar(&m_hotkeys);
    theEnv.RegisterHotkeys(false);
    ReportTakenHotkeys();
    m_x11 = std::make_unique<x11::Connection>();
    m_lockMasks = x11::FindLockKeyMasks(m_x11->get());
    UpdateLockKeys();
    if (ReadPreference(kPrefAlwaysTray) != 0)
        AddMainTray();
    auto* poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, &CMainFrame::UpdateLockKeys);
    poll->start(kLockKeyPollMs);
}

CMainFrame::~CMainFrame()
{
    // A timer capture still running ends here, without showing the window again.
    m_timerFlow->disconnect(this);
    m_timerFlow.reset();
    FinishSaving();
    SaveBarState();
    m_pMainTray.reset();
    theEnv.UnregisterHotkeys(false);
    theEnv.SetHotkeyRegistrar(nullptr);
}

void CMainFrame::BuildMenus()
{
    const auto layout = MainMenuLayout();
    for (int position = 0; position < int(layout.size()); ++position)
        menuBar()->addMenu(BuildPopup(position));
}

QMenu* CMainFrame::BuildPopup(int position)
{
    const MenuPopup& popup = MainMenuLayout()[size_t(position)];
    auto* menu = new QMenu(QString::fromUtf8(popup.title.data(), int(popup.title.size())), this);
    menu->setObjectName(QString("menu%1").arg(position));
    for (const MenuEntry& entry : popup.entries) {
        const QString text = QString::fromUtf8(entry.text.data(), int(entry.text.size()));
        if (entry.id == 0) {
            menu->addSeparator();
        } else if (entry.id == kLanguageSubmenu) {
            m_languageMenu = menu->addMenu(text);
            m_languageMenu->setObjectName("languageMenu");
            connect(menu, &QMenu::aboutToShow, this, &CMainFrame::RebuildLanguageMenu);
        } else {
            QAction* action = Action(entry.id);
            if (!action) {
                action = new QAction(text, this);
                action->setObjectName(QString("command%1").arg(entry.id));
                action->setData(entry.id);
                action->setIcon(MenuPicture(entry.id));
                action->setEnabled(CommandAvailable(entry.id));
                action->setCheckable(IsBarToggle(entry.id) || IsViewMode(entry.id) || entry.id == ID_CAPTURE_TIMER);
                const int id = entry.id;
                connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
                connect(action, &QAction::hovered, this, [this, id] { ShowStatusPrompt(id); });
                m_actions.insert(id, action);
            }
            menu->addAction(action);
        }
    }
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
    return menu;
}

void CMainFrame::BuildToolBar()
{
    m_toolBar = addToolBar("Toolbar");
    m_toolBar->setObjectName("toolBar");
    m_toolBar->setIconSize(QSize(kToolImageSide, kToolImageSide));
    for (int id : ToolBarCommands()) {
        if (id == ID_VIEW_BUTTON) {
            // The View button: a click cycles the list's view, the arrow drops its menu.
            m_viewButton = new QToolButton(m_toolBar);
            m_viewButton->setObjectName("viewButton");
            m_viewButton->setIcon(ToolBarPicture(id));
            m_viewButton->setPopupMode(QToolButton::MenuButtonPopup);
            auto* viewMenu = new QMenu(m_viewButton);
            for (const MenuEntry& entry : ViewModeMenuLayout()) {
                QAction* a = viewMenu->addAction(MenuPicture(entry.id),
                                                 QString::fromUtf8(entry.text.data(), int(entry.text.size())));
                a->setData(entry.id);
                a->setEnabled(CommandAvailable(entry.id));
            }
            m_viewButton->setMenu(viewMenu);
            connect(m_viewButton, &QToolButton::clicked, this, [this] { OnCommand(ID_VIEW_BUTTON); });
            connect(viewMenu, &QMenu::triggered, this, [this](QAction* a) { OnCommand(a->data().toInt()); });
            m_viewButton->setEnabled(CommandAvailable(ID_VIEW_BUTTON));
            m_toolBar->addWidget(m_viewButton);
            continue;
        }
        QAction* menuAction = Action(id);
        // The tool bar has its own larger pictures; enabled state and triggering
        // follow the menu's action.
        auto* action = new QAction(ToolBarPicture(id), menuAction ? menuAction->text() : QString(), this);
        action->setObjectName(QString("tool%1").arg(id));
        action->setEnabled(menuAction ? menuAction->isEnabled() : CommandAvailable(id));
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        connect(action, &QAction::hovered, this, [this, id] { ShowStatusPrompt(id); });
        if (menuAction)
            connect(menuAction, &QAction::enabledChanged, action, &QAction::setEnabled);
        m_toolBar->addAction(action);
    }
}

void CMainFrame::BuildStatusBar()
{
    auto pane = [this](const QString& text, int width) {
        auto* label = new QLabel(text, this);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        if (width > 0)
            label->setMinimumWidth(width);
        statusBar()->addPermanentWidget(label);
        return label;
    };
    m_infoPane = pane({}, 100);
    m_totalPane = pane(QString::fromStdString(TotalFilesText(0)), 100); // the list's own text from the start
    m_totalPane->setObjectName("totalFiles");
    m_listPane->list().SetStatusBar(statusBar()); // the thumbnails' progress bar goes in pane 0
    const char* names[] = {"CAP", "NUM", "SCRL"};
    for (int i = 0; i < 3; ++i) {
        m_lockPanes[i] = pane(names[i], 0);
        m_lockPanes[i]->setObjectName(QString("lock%1").arg(names[i]));
        m_lockPanes[i]->setAlignment(Qt::AlignCenter);
    }
}

void CMainFrame::UpdateLockKeys()
{
    if (!m_x11)
        return;
    const x11::LockKeys keys = x11::ReadLockKeys(*m_x11, m_lockMasks);
    const bool on[] = {keys.caps, keys.num, keys.scroll};
    for (int i = 0; i < 3; ++i)
        m_lockPanes[i]->setEnabled(on[i]); // an indicator that is off shows greyed
}

void CMainFrame::BuildBars()
{
    // English until TranslateMenus.
    auto title = [](std::string_view key) { return QString::fromUtf8(key.data(), qsizetype(key.size())); };
    m_folderBar = new QDockWidget(title(kFolderBarTitleKey), this);
    m_folderBar->setObjectName("bar88");
    m_folderTree = new CFolderTreeCtrl(m_folderBar);
    m_folderTree->setContentsMargins(1, 1, 1, 1);
    m_folderBar->setWidget(m_folderTree);
    // Queued: the tree finishes its own selection change before the list refills.
    connect(m_folderTree, &CFolderTreeCtrl::folderChosen, this, [this](FolderKind kind) { ShowFolder(kind, false); },
            Qt::QueuedConnection);

    m_previewBar = new QDockWidget(title(kPreviewBarTitleKey), this);
    m_previewBar->setObjectName("bar89");
    m_preview = new CPreviewWnd(m_library, this, m_previewBar);
    m_previewBar->setWidget(m_preview);

    // First run: the folder bar at the left, the preview bar below it in the same column.
    addDockWidget(Qt::LeftDockWidgetArea, m_folderBar);
    splitDockWidget(m_folderBar, m_previewBar, Qt::Vertical);
    resizeDocks({m_folderBar, m_previewBar}, {150, 180}, Qt::Vertical);
    resizeDocks({m_folderBar}, {250}, Qt::Horizontal);
}

void CMainFrame::SaveBarState()
{
    RegistryStore store(RegistryStore::DefaultPath());
    const QByteArray state = saveState();
    store.SetBinary(kBarsKey, "State", std::vector<uint8_t>(state.begin(), state.end()));
    store.SetDword(kBarsKey, "StatusBar", statusBar()->isVisibleTo(this) ? 1 : 0);
    const QByteArray placement = Placement();
    store.SetBinary(kBarsKey, "Placement", std::vector<uint8_t>(placement.begin(), placement.end()));
    store.Save();
}

void CMainFrame::RestoreBarState()
{
    RegistryStore store(RegistryStore::DefaultPath());
    if (auto state = store.GetBinary(kBarsKey, "State"))
        restoreState(QByteArray(reinterpret_cast<const char*>(state->data()), qsizetype(state->size())));
    if (auto status = store.GetDword(kBarsKey, "StatusBar"))
        statusBar()->setVisible(*status != 0);
    // Qt moves a placement that no monitor shows any more onto one that exists.
    if (auto placement = store.GetBinary(kBarsKey, "Placement"))
        restoreGeometry(QByteArray(reinterpret_cast<const char*>(placement->data()), qsizetype(placement->size())));
    if (TraceEnabled())
        Trace(std::string("bars toolbar=") + (m_toolBar->isVisibleTo(this) ? "1" : "0") +
              " status=" + (statusBar()->isVisibleTo(this) ? "1" : "0") +
              " folder=" + (m_folderBar->isVisibleTo(this) ? "1" : "0") +
              " preview=" + (m_previewBar->isVisibleTo(this) ? "1" : "0"));
}

void CMainFrame::UpdateCommandStates()
{
    const std::pair<int, bool> shown[] = {
        {ID_VIEW_TOOLBAR, m_toolBar->isVisibleTo(this)},
        {ID_VIEW_STATUS_BAR, statusBar()->isVisibleTo(this)},
        {ID_VIEW_FOLDER_BAR, m_folderBar->isVisibleTo(this)},
        {ID_VIEW_PREVIEW_BAR, m_previewBar->isVisibleTo(this)},
        {ID_CAPTURE_TIMER, m_timerFlow && m_timerFlow->running()},
    };
    for (const auto& [id, visible] : shown)
        if (QAction* a = Action(id))
            a->setChecked(visible);
    for (int mode = 0; mode < int(std::size(kViewModeCommands)); ++mode)
        if (QAction* a = Action(kViewModeCommands[mode]))
            a->setChecked(mode == m_listPane->viewMode());
}

void CMainFrame::ShowFolder(FolderKind kind, bool selectInTree)
{
    m_listPane->ShowFolder(kind);
    if (selectInTree)
        m_folderTree->SelectKind(kind);
}

QString CMainFrame::TipText(int id) const
{
    // With no language file the translated texts are empty; the English ones
    // serve as tips then rather than nothing.
    for (const auto* texts : {&theEnv.m_mapMenuText, &theEnv.m_mapDefaultText})
        if (const auto text = texts->find(uint32_t(id)); text != texts->end())
            return QString::fromStdString(CommandTipText(text->second));
    return {};
}

void CMainFrame::ShowStatusPrompt(int id) { statusBar()->showMessage(TipText(id)); }

void CMainFrame::ShowRecordingStatus(const QString& text)
{
    if (text.isEmpty())
        statusBar()->clearMessage();
    else
        statusBar()->showMessage(text);
    Trace("status bar: " + text.toStdString());
}

void CMainFrame::OnCommand(int id)
{
    // The list pane serves the Edit and View commands and the View button.
    if (m_listPane->OnCommand(id)) {
        UpdateCommandStates();
        return;
    }
    if (IsBarToggle(id)) {
        QWidget* bar = id == ID_VIEW_TOOLBAR      ? static_cast<QWidget*>(m_toolBar)
                       : id == ID_VIEW_STATUS_BAR ? static_cast<QWidget*>(statusBar())
                       : id == ID_VIEW_FOLDER_BAR ? static_cast<QWidget*>(m_folderBar)
                                                  : static_cast<QWidget*>(m_previewBar);
        bar->setVisible(!bar->isVisibleTo(this));
        UpdateCommandStates();
        return;
    }
    if (id >= int(ID_LANGUAGE_FIRST) && id <= int(ID_LANGUAGE_LAST)) {
        OnLanguageCommand(id);
        return;
    }
    if (!CommandAvailable(id))
        return;
    switch (id) {
    case ID_CAPTURE_FULLSCREEN: m_captureFlow->RegionCapture(SHAPE_FULLSCREEN); break;
    case ID_CAPTURE_RECTANGLE: m_captureFlow->RegionCapture(SHAPE_RECTANGLE); break;
    case ID_CAPTURE_CIRCLE: m_captureFlow->RegionCapture(SHAPE_CIRCLE); break;
    case ID_CAPTURE_ELLIPSE: m_captureFlow->RegionCapture(SHAPE_ELLIPSE); break;
    case ID_CAPTURE_POLYGON: m_captureFlow->RegionCapture(SHAPE_POLYGON); break;
    case ID_CAPTURE_OBJECT: m_captureFlow->StartObjectCapture(); break;
    case ID_CAPTURE_ICONS: RunIconCaptureDialog(this, m_library); break;
    case ID_CAPTURE_TIMER:
    case ID_STOP_TIMER_CAPTURE: m_timerFlow->Toggle(); break;
    case ID_RECORD_AVI: m_recordFlow->RunAviCapture(); break;
    case ID_OPTION: RunOptions(OptionsStart::General); break;
    case ID_SHOW_MAIN_WINDOW: OnShowMainWindow(); break;
    case ID_APP_EXIT: close(); break;
    case ID_HELP_CONTENTS: HelpWindow()->ShowContents(); break;
    case ID_HELP_INDEX: HelpWindow()->ShowIndex(); break;
    case ID_HELP_WEBSITE: GotoURL(kWebSiteUrl); break; // a failure is not shown
    case ID_APP_ABOUT: {
        CAboutDlg about(this);
        about.exec();
        break;
    }
    default: break;
    }
}

CHelpWindow* CMainFrame::HelpWindow()
{
    if (!m_helpWindow)
        m_helpWindow = new CHelpWindow(QString::fromStdString(FindHelpFolder(HelpSearchFolders())), this);
    return m_helpWindow;
}

void CMainFrame::OnHotKey(int id)
{
    char text[32];
    std::snprintf(text, sizeof text, "hotkey 0x%x", unsigned(id));
    Trace(text);
    switch (id) {
    case HOTKEY_OBJECT: m_captureFlow->OnObjectHotKey(); return;
    case HOTKEY_ESCAPE: m_captureFlow->OnEscapeHotKey(); return;
    case HOTKEY_AVI: m_recordFlow->OnAviHotKey(); return;
    case HOTKEY_TIMER: m_timerFlow->Toggle(); return; // stops a running timer capture, busy as it is
    default: break;
    }
    if (m_busy.busy())
        return;
    switch (id) {
    case HOTKEY_FULLSCREEN: m_captureFlow->RegionCapture(SHAPE_FULLSCREEN); break;
    case HOTKEY_RECTANGLE: m_captureFlow->RegionCapture(SHAPE_RECTANGLE); break;
    case HOTKEY_CIRCLE: m_captureFlow->RegionCapture(SHAPE_CIRCLE); break;
    case HOTKEY_ELLIPSE: m_captureFlow->RegionCapture(SHAPE_ELLIPSE); break;
    case HOTKEY_POLYGON: m_captureFlow->RegionCapture(SHAPE_POLYGON); break;
    default: break;
    }
}

void CMainFrame::CaptureForRequest(std::shared_ptr<PendingRequest> pending, const CaptureRequest& request)
{
    m_captureFlow->CaptureForRequest(std::move(pending), request);
}

void CMainFrame::RecordForRequest(std::shared_ptr<PendingRequest> request, const RecordWords& words)
{
    m_recordFlow->RecordForRequest(std::move(request), words);
}

void CMainFrame::TimerForRequest(std::shared_ptr<PendingRequest> request, const TimerRequest& timer)
{
    m_timerFlow->RunForRequest(std::move(request), timer);
}

void CMainFrame::SelectForRequest(std::shared_ptr<PendingRequest> request, SelectShape shape)
{
    m_captureFlow->SelectForRequest(std::move(request), shape);
}

void CMainFrame::RecordDialogForRequest(const std::shared_ptr<PendingRequest>& request)
{
    // While the dialog is open the busy flag is its own: the press goes to it.
    if (m_busy.busy() && !m_recordFlow->dialogOpen()) {
        request->Finish({1, {}, "another capture is under way"});
        return;
    }
    request->Finish({});
    m_recordFlow->OnAviHotKey();
}

void CMainFrame::FinishSaving() { m_captureFlow->FinishSaving(); }

void CMainFrame::ShowSaveFailure(const QString& text)
{
    // Not modal: the saver calls this from its own queued call, and more
    // captures may be written while the box is open.
    Trace("told the user: " + QString(text).replace('\n', ' ').toStdString());
    auto* box = new QMessageBox(QMessageBox::Warning, "Capture not saved", text, QMessageBox::Ok, this);
    box->setObjectName("saveFailure");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    SaveBarState();
    event->accept();
    qApp->quit();
}

} // namespace vistrel
