#include "options/page_host.h"

#include "options/options_page.h"

#include <QStackedWidget>

namespace vistrel {

void CPageHost::AddPage(COptionsPage* page)
{
    m_pages.push_back(page);
    m_area.addWidget(page);
}

COptionsPage* CPageHost::GetPage(int index) const
{
    return index >= 0 && index < count() ? m_pages[size_t(index)] : nullptr;
}

bool CPageHost::ShowPage(COptionsPage* page)
{
    if (!page || page == m_current)
        return page != nullptr;
    if (m_current && !m_current->OnKillActive())
        return false;
    m_current = page;
    m_area.setCurrentWidget(page);
    page->OnSetActive();
    return true;
}

bool CPageHost::ApplyAll()
{
    for (COptionsPage* page : m_pages)
        if (!page->OnApply())
            return false;
    return true;
}

bool CPageHost::QueryCancelAll()
{
    for (COptionsPage* page : m_pages)
        if (!page->OnQueryCancel())
            return false;
    return true;
}

void CPageHost::ResetAll()
{
    for (COptionsPage* page : m_pages)
        page->OnReset();
}

} // namespace vistrel
