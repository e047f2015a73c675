#pragma once
// CIconsDlg: the icon groups of one module in an icon view, each shown by its
// image that best fits the display, with "&Save" (the selected group as an
// .ico file), "Save &All" (every group into a folder) and "&To Clipboard".
//
// Icons never replace a file: a name that is taken is left alone and the user
// is told. The file dialog's own "replace?" question is switched off for that
// reason: it would offer what the program then refuses.
//
// The caller sets the file and runs the dialog with exec(), which reads the
// file first and shows the error instead of the dialog when it cannot be shown.
// The Save...To functions do the work behind the buttons without their file
// dialogs and message boxes. User-interface thread only.

#include "icons/core/icon_module.h"

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace vistrel {

// What became of one icon that was to be saved.
struct IconSaveOutcome {
    enum Result { Written, Exists, Unreadable, Failed };
    std::string label; // the group's label, "Icon [12]"
    std::string path;  // the file it was to be written to
    Result result = Failed;
};

class CIconsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CIconsDlg(QWidget* parent = nullptr);

    void SetFile(const std::string& path) { m_path = path; }
    // Reads the file's groups and fills the list and the title. The message to
    // show when the file cannot be shown (not a module, no icon in it); empty
    // when it can.
    std::string LoadFile();
    // LoadFile, then the dialog; or the message, and Rejected.
    int exec() override;

    // "&Save" to this path (".ico" added when the path has none); nullopt with
    // no item selected.
    std::optional<IconSaveOutcome> SaveSelectedTo(const std::string& path);
    // "Save &All" into this folder, in list order, each group under its own
    // name (SaveAllNames).
    std::vector<IconSaveOutcome> SaveAllTo(const std::string& folder);
    // "&To Clipboard": the selected group's first image. False when nothing is
    // selected or the image cannot be read.
    bool CopySelectedToClipboard();

    QListWidget* List() const { return m_list; }

private:
    void OnSave();
    void OnSaveAll();
    void OnToClipboard();
    void OnSelectionChanged();
    const IconGroupName* SelectedGroup() const;
    // The message box for outcomes that did not end in a written file.
    void ReportProblems(const std::vector<IconSaveOutcome>& outcomes, const std::string& folder);

    std::string m_path;
    std::vector<IconGroupName> m_groups; // list item i holds group m_groups[i]
    QListWidget* m_list;
    QPushButton* m_save;
    QPushButton* m_saveAll;
    QPushButton* m_toClipboard;
};

// "%d icons in %s" (or a translation of it) with the count and the file name;
// any other '%' stays as it is.
std::string IconsDialogTitle(const std::string& format, int count, const std::string& fileName);

} // namespace vistrel
