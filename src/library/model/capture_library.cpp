#include "library/model/capture_library.h"

#include "library/core/list_edits.h"

namespace vistrel {

CaptureLibrary::CaptureLibrary(CaptureLists& lists, QObject* parent) : QObject(parent), m_lists(lists) {}

const std::vector<std::string>& CaptureLibrary::files(FolderKind kind) const { return m_lists.ofKind(kind); }

void CaptureLibrary::Append(FolderKind kind, const std::string& path)
{
    m_lists.ofKind(kind).push_back(path);
    emit listChanged(kind);
}

void CaptureLibrary::Append(FolderKind kind, const std::vector<std::string>& paths)
{
    if (paths.empty())
        return;
    auto& list = m_lists.ofKind(kind);
    list.insert(list.end(), paths.begin(), paths.end());
    emit listChanged(kind);
}

void CaptureLibrary::Remove(FolderKind kind, const std::vector<size_t>& indices)
{
    if (indices.empty())
        return;
    RemoveEntries(m_lists.ofKind(kind), indices);
    emit listChanged(kind);
}

void CaptureLibrary::Replace(FolderKind kind, size_t index, const std::string& path)
{
    auto& list = m_lists.ofKind(kind);
    if (index >= list.size() || list[index] == path)
        return;
    list[index] = path;
    emit listChanged(kind);
}

} // namespace vistrel
