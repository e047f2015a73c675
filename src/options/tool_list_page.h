#pragma once
// CToolListPage: the "Bitmap Tools" and "AVI Tools" pages, the outside programs
// offered for captured pictures and recordings. One row per program (name,
// path); the default one carries a mark. Add picks a program (one already
// listed, in any letter case, is not added twice), Edit renames a row in place,
// Default moves the mark, Delete removes a row (a removed default mark goes to
// the first row). Applying replaces the settings' list with the rows.
// User-interface thread only.

#include "options/options_page.h"
#include "settings/env.h"

#include <vector>

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vistrel {

class CToolListPage : public COptionsPage {
    Q_OBJECT
public:
    enum class Kind { Bitmap, Avi };
    CToolListPage(QWidget* parent, Kind kind);

    bool OnApply() override;

    const std::vector<ToolEntry>& rows() const { return m_rows; }
    QTreeWidget* list() const { return m_list; }
    // The buttons' actions, as their clicks run them (Add asks for the program).
    void AddProgram(const std::string& path);
    void EditSelected();
    void MarkSelectedDefault();
    void DeleteSelected();

    struct Spec; // the page's controls and setting

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* BuildButtons(DialogControls& controls);
    void BuildList();
    void Connect();
    void Refill(int selectRow);
    int SelectedRow() const;
    void UpdateButtons();
    void OnAdd();
    void OnNameEdited(QTreeWidgetItem* item, int column);

    const Spec& m_spec;
    std::vector<ToolEntry> m_rows;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_default = nullptr;
    QPushButton* m_delete = nullptr;
};

} // namespace vistrel
