// The main window in the chosen language: the menu texts with the hotkeys
// after them, the folder names, the list's column titles, the bar titles and
// the file count, and the Language submenu that chooses another file.

#include "mainframe/main_frame.h"

#include "base/trace.h"
#include "commands/menu_layout.h"
#include "i18n/language_menu.h"
#include "i18n/translate.h"
#include "library/folder_tree.h"
#include "library/list_pane.h"
#include "platform/qt/key_names.h"
#include "settings/env.h"

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace vistrel {

namespace {

QString FromUtf8(const std::string& text) { return QString::fromStdString(text); }

} // namespace

void CMainFrame::TranslateMenus()
{
    const Translator tr = Translator::Current();
    const auto commands = MainMenuCommands();
    if (auto texts = TranslateMainMenu(tr, theEnv, commands, NativeKeyName)) {
        const auto menus = menuBar()->actions();
        for (size_t i = 0; i < texts->titles.size() && i < size_t(menus.size()); ++i)
            menus[qsizetype(i)]->setText(FromUtf8(texts->titles[i]));
        for (const auto& [id, text] : texts->items)
            if (QAction* action = Action(int(id)))
                action->setText(FromUtf8(text));
        if (TraceEnabled())
            for (const auto& [id, text] : texts->items)
                Trace("menu " + std::to_string(id) + " " + text);
    }
    // The View button's menu: the View menu's texts of the same commands.
    if (QMenu* viewMenu = m_viewButton ? m_viewButton->menu() : nullptr) {
        std::vector<uint32_t> ids;
        for (QAction* mode : viewMenu->actions())
            ids.push_back(mode->data().toUInt());
        for (const auto& [id, text] : TranslateMenuByCommand(theEnv, ids))
            for (QAction* mode : viewMenu->actions())
                if (mode->data().toUInt() == id)
                    mode->setText(FromUtf8(std::string(WithoutShortcut(text))));
    }
    // The tool bar's own buttons show the same texts as their menu items.
    for (QAction* tool : m_toolBar->actions()) {
        const int id = tool->objectName().mid(4).toInt();
        if (QAction* action = Action(id))
            tool->setText(action->text());
        tool->setToolTip(TipText(id));
    }
    for (QAction* action : std::as_const(m_actions))
        action->setStatusTip(TipText(action->data().toInt()));

    QStringList folders, columns;
    for (const std::string& name : FolderNameTexts(tr))
        folders << FromUtf8(name);
    for (const std::string& title : ColumnHeaderTexts(tr))
        columns << FromUtf8(title);
    m_folderTree->SetFolderNames(folders);
    m_listPane->SetColumnTitles(columns);
    m_folderBar->setWindowTitle(FromUtf8(tr.Text(kMainMenuSection, kFolderBarTitleKey)));
    m_previewBar->setWindowTitle(FromUtf8(tr.Text(kMainMenuSection, kPreviewBarTitleKey)));
    m_listPane->SetTotalFilesFormat(tr.Text(kMainMenuSection, kTotalFilesKey));
    if (TraceEnabled())
        Trace("bars titled " + m_folderBar->windowTitle().toStdString() + " | " +
              m_previewBar->windowTitle().toStdString() + " | " + m_totalPane->text().toStdString());
}

void CMainFrame::RebuildLanguageMenu()
{
    if (!m_languageMenu)
        return;
    m_languageMenu->clear();
    for (const LanguageMenuItem& item : BuildLanguageMenu(g_languageFiles, g_strLanguageFile)) {
        QAction* action = m_languageMenu->addAction(FromUtf8(item.name).replace("&", "&&"));
        action->setCheckable(true);
        action->setChecked(item.checked);
        action->setObjectName(QString("language%1").arg(item.command));
        const int id = int(item.command);
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    }
}

void CMainFrame::OnLanguageCommand(int id)
{
    auto file = LanguageFileForCommand(uint32_t(id), g_languageFiles);
    if (!file)
        return;
    g_strLanguageFile = *file;
    TranslateMenus();
}

} // namespace vistrel
