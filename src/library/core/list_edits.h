#pragma once
// Delete and rename as list logic: which capture-list entries go or change, in
// which order, and what is asked of the file system. The file operations are
// passed in, so the window hands in the real ones and tests their fakes.
// User-interface thread (the capture lists are the window's), no toolkit.

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vistrel {

// Erases the elements at the given indices (ascending, no repeats) from the
// last to the first, so each index still names the element it named before.
// Works on any container with erase, so the window removes the same indices
// from its image lists.
template <typename Container>
void EraseAtIndices(Container& container, std::span<const size_t> ascending)
{
    for (auto it = ascending.rbegin(); it != ascending.rend(); ++it)
        if (*it < size_t(container.size()))
            container.erase(container.begin() + std::ptrdiff_t(*it));
}

// Removes one file for good; true when it is gone (also when it was gone already).
using RemoveFileFunction = std::function<bool(const std::string& path)>;

// Delete of the selected entries (any order; repeats and indices past the end
// are ignored) once the user has answered the confirmation. Each file is
// removed; an entry leaves the list only when its file is gone, so a file that
// could not be removed stays listed. Nothing happens when the user cancelled.
// Gives the indices dropped, ascending: the window drops the same rows and
// images with EraseAtIndices.
std::vector<size_t> DeleteEntries(std::vector<std::string>& entries, std::span<const size_t> selected,
                                  bool confirmed, const RemoveFileFunction& removeFile);

// Renames a file without ever replacing another: 0, or an errno value (EEXIST
// when the new name is taken).
using RenameFileFunction = std::function<int(const std::string& from, const std::string& to)>;

enum class RenameStatus {
    Unchanged, // empty or the same name: nothing asked of the file system
    BadName,   // a name that is no file name ('/', a zero byte, "." or ".."): nothing done
    Renamed,
    Failed,    // the file system refused; error says why
};

struct RenameResult {
    RenameStatus status = RenameStatus::Unchanged;
    std::string newPath;
    int error = 0;
};

// The name an edited label asks for: the text with blanks trimmed at both ends.
std::string_view TrimmedLabel(std::string_view edited);

// Rename of entry index to the edited label (the label edit's end; an empty
// text, as after Escape, keeps the name). On success the entry becomes the new
// path, in its place in the list.
RenameResult RenameEntry(std::vector<std::string>& entries, size_t index, std::string_view edited,
                         const RenameFileFunction& renameFile);

} // namespace vistrel
