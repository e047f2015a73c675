#pragma once
// CPageHost: the Options sheet's pages in order, and which one is shown. A page
// that refuses to be left (OnKillActive false) stays shown. Apply, cancel and
// reset go to every page in order. The host does not own the pages.
// User-interface thread only.

#include <vector>

class QStackedWidget;

namespace vistrel {

class COptionsPage;

class CPageHost {
public:
    explicit CPageHost(QStackedWidget& area) : m_area(area) {}

    void AddPage(COptionsPage* page);
    COptionsPage* GetPage(int index) const;
    COptionsPage* current() const { return m_current; }
    int count() const { return int(m_pages.size()); }

    // false when the shown page refused to be left.
    bool ShowPage(COptionsPage* page);
    bool ShowPage(int index) { return ShowPage(GetPage(index)); }

    // Stops at the first page that refuses; the pages before it keep what they applied.
    bool ApplyAll();
    bool QueryCancelAll();
    void ResetAll();

private:
    QStackedWidget& m_area;
    std::vector<COptionsPage*> m_pages;
    COptionsPage* m_current = nullptr;
};

} // namespace vistrel
