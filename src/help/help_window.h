#pragma once
// CHelpWindow: the program's help. The pages are HTML files of the help folder
// (see FindHelpFolder); links between them, Back, Forward and Home (the start
// page) move through them, and the index at the side lists the entries of the
// index page. Links to the web open in the browser. The window's title names
// the page shown. When no help folder is found it says so on its page.
// User-interface thread only.

#include <QMainWindow>

class QListWidget;
class QTextBrowser;
class QUrl;

namespace vistrel {

class CHelpWindow : public QMainWindow {
    Q_OBJECT
public:
    // folder: the help folder; empty when none was found.
    CHelpWindow(const QString& folder, QWidget* parent);

    void ShowContents(); // the start page
    void ShowIndex();    // the index page, with the index list focused

private:
    void BuildToolBar();
    void BuildIndex();
    void ShowPage(const QString& page);
    void OnLink(const QUrl& url);
    void OnPageShown(const QUrl& page);

    QString m_folder;
    QTextBrowser* m_browser = nullptr;
    QListWidget* m_index = nullptr;
};

} // namespace vistrel
