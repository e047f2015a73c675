#pragma once
// CTPropertySheet, the Options sheet: a tree of pages on the left, the chosen
// page on the right, OK, Cancel and Apply below. OK applies every page in
// order and, when none refuses, closes and writes the settings file; a page
// that refuses keeps the sheet open (the pages before it have applied). Apply
// applies without writing the file; Cancel keeps what Apply applied.
// RunOptionsSheet builds the pages and runs the sheet modally.
// User-interface thread only.

#include "options/page_host.h"

#include <QDialog>
#include <QHash>
#include <QString>

#include <functional>
#include <string>

class QPushButton;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace vistrel {

class COptionsPage;

class CTPropertySheet : public QDialog {
    Q_OBJECT
public:
    // save writes the settings file after OK (theEnv.Save in the program).
    explicit CTPropertySheet(QWidget* parent, std::function<bool()> save);

    // The sheet takes the page as its child; parentPage puts it under that
    // page's tree item. An empty title takes the page's window title.
    void AddPage(COptionsPage* page, const QString& title, COptionsPage* parentPage = nullptr);
    // Fills the tree and shows the first page, or the one given; once every
    // page is added.
    void Start(COptionsPage* shown = nullptr);
    // Whether OK or Apply has applied the pages.
    bool applied() const { return m_applied; }

    CPageHost& host() { return m_host; }
    QTreeWidget* tree() const { return m_tree; }
    QPushButton* Button(int id) const; // 1 OK, 2 Cancel, 1014 Apply

    void accept() override;
    void reject() override;

private:
    QWidget* BuildButtonRow();
    void OnApplyNow();
    void OnTreeSelection(QTreeWidgetItem* current, QTreeWidgetItem* previous);

    std::function<bool()> m_save;
    QTreeWidget* m_tree;
    QStackedWidget* m_area;
    CPageHost m_host;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_apply = nullptr;
    struct Entry {
        COptionsPage* page;
        QString title;
        COptionsPage* parent;
    };
    std::vector<Entry> m_entries;
    QHash<COptionsPage*, QTreeWidgetItem*> m_items;
    bool m_applied = false;
};

// The page the sheet opens on.
enum class OptionsStart { General, Hotkeys };

// The eight pages in their order, then Start; autostartPath is where the
// General page writes the autostart entry.
void FillOptionsSheet(CTPropertySheet& sheet, const std::string& autostartPath,
                      OptionsStart start = OptionsStart::General);

// The main window's "&Option..." command. True when OK or Apply applied the
// pages (the hotkeys are registered again by then).
bool RunOptionsSheet(QWidget* parent, OptionsStart start = OptionsStart::General);

} // namespace vistrel
