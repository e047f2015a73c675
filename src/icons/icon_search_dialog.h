#pragma once
// CIconSearchDlg, the "Icon Capture&Search" dialog: opens the "Icons" dialog
// for one module (file mode), or searches a folder tree for .ico, .dll and .exe
// files and writes every icon found into the icon folder (folder mode), one
// worker thread per file type ticked, with "&Stop" to end the search early.
// Every file written is added to the icon capture list.
//
// The global hotkeys are let go while the dialog is open. Closing it during a
// search does not wait: the search is asked to stop and ends on its own after
// the files being handled (see IconSearchTask).
//
// User-interface thread only.

#include "icons/icon_search_task.h"

#include <QDialog>
#include <QPointer>

#include <functional>
#include <map>
#include <string>

class QCheckBox;
class QGroupBox;
class QLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace vistrel {

class CaptureLibrary;

// Runs the dialog modally for the main window's "Capture &Icons" command.
// Found files are appended to the library's icon list on this thread: after
// each search, when the dialog closes, and once more when a search stopped by
// closing has ended (which can be after this function has returned; parent
// and library must outlive that, as the main window and the program's library do).
void RunIconCaptureDialog(QWidget* parent, CaptureLibrary& library);

class CIconSearchDlg : public QDialog {
    Q_OBJECT
public:
    // The search it runs belongs to parent (or to the application without one),
    // so that it can end after the dialog is gone.
    CIconSearchDlg(QWidget* parent, CaptureLibrary& library);
    ~CIconSearchDlg() override; // hands a running search over to end by itself; takes the hotkeys again

    // The control with this identifier (as the dialog's table numbers them).
    QWidget* Control(int id) const;
    IconSearchTask* Task() const { return m_task; }

    // "&Search" or "&Stop", as a click on it.
    void OnSearch();

private:
    // The constructor's parts: one builder for the group box and one for the
    // buttons, each making the controls it alone uses, laying out its own and
    // entering them in m_controls; then one step that connects them.
    QGroupBox* BuildSearchGroup();
    QLayout* BuildButtonRow();
    void ConnectControls();

    void SetFileMode(bool fileMode);
    void SetSearching(bool searching);
    void OnChooseFile();
    void OnChoosePath();
    void OnProgress(const QString& currentFile, int iconCount);
    void OnSearchEnded();
    void StartSearch();

    std::map<int, QWidget*> m_controls;
    QRadioButton* m_fileMode;
    QRadioButton* m_folderMode;
    QLineEdit* m_executable;
    QToolButton* m_chooseFile = nullptr;
    QLineEdit* m_searchPath;
    QToolButton* m_choosePath = nullptr;
    QLineEdit* m_currentFile;
    QLineEdit* m_iconCount;
    QCheckBox* m_subFolders;
    QCheckBox* m_ico;
    QCheckBox* m_dll;
    QCheckBox* m_exe;
    QPushButton* m_search;
    QPushButton* m_close = nullptr;
    QString m_searchText;
    QString m_stopText;
    bool m_searching = false;
    QPointer<IconSearchTask> m_task;
};

} // namespace vistrel
