#include "library/model/capture_library.h"

namespace vistrel {

CaptureLibrary::CaptureLibrary(CaptureLists& lists, QObject* parent) : QObject(parent), m_lists(lists) {}

const std::vector<std::string>& CaptureLibrary::files(FolderKind kind) const { return m_lists.ofKind(kind); }

void CaptureLibrary::Append(FolderKind kind, const std::string& path)
{
    m_lists.ofKind(kind).push_back(path);
    emit listChanged(kind);
    emit fileAdded(kind);
}

void CaptureLibrary::Append(FolderKind kind, const std::vector<std::string>& paths)
{
    if (paths.empty())
        return;
    auto& list = m_lists.ofKind(kind);
    list.insert(list.end(), paths.begin(), paths.end());
    emit listChanged(kind);
}

std::vector<size_t> CaptureLibrary::Delete(FolderKind kind, std::span<const size_t> selected,
                                           const RemoveFileFunction& removeFile)
{
    auto removed = DeleteEntries(m_lists.ofKind(kind), selected, true, removeFile);
    if (!removed.empty())
        emit listChanged(kind);
    return removed;
}

RenameResult CaptureLibrary::Rename(FolderKind kind, size_t index, std::string_view edited,
                                    const RenameFileFunction& renameFile)
{
    const RenameResult result = RenameEntry(m_lists.ofKind(kind), index, edited, renameFile);
    if (result.status == RenameStatus::Renamed)
        emit listChanged(kind);
    return result;
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
