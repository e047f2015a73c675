#pragma once
// CaptureLibrary: the windowed program's one door to this run's capture lists.
// Whatever captures or finds a file (still captures, the icon dialogs and their
// search, recordings, requests of the command line) appends it here, and the
// library's views listen to listChanged. The lists themselves stay
// g_captureLists, which the command-line programs fill without a window.
//
// User-interface thread only. The program makes one, which outlives its windows;
// the recorder module gets it by reference.

#include "library/core/capture_lists.h"
#include "library/core/list_edits.h"

#include <QObject>

#include <string>
#include <vector>

namespace vistrel {

class CaptureLibrary : public QObject {
    Q_OBJECT
public:
    explicit CaptureLibrary(CaptureLists& lists, QObject* parent = nullptr);

    const std::vector<std::string>& files(FolderKind kind) const;
    // One new capture: listChanged, then fileAdded.
    void Append(FolderKind kind, const std::string& path);
    // Several files found together: one listChanged for all of them.
    void Append(FolderKind kind, const std::vector<std::string>& paths);
    // Removes the files of the selected entries and the entries of the files
    // gone (see DeleteEntries, which this is for the user's confirmed Delete).
    std::vector<size_t> Delete(FolderKind kind, std::span<const size_t> selected,
                               const RemoveFileFunction& removeFile);
    // Renames an entry's file to the edited label (see RenameEntry).
    RenameResult Rename(FolderKind kind, size_t index, std::string_view edited, const RenameFileFunction& renameFile);
    // A renamed or moved file: its entry takes the new path.
    void Replace(FolderKind kind, size_t index, const std::string& path);

signals:
    void listChanged(vistrel::FolderKind kind);
    // A capture was appended to the end of the kind's list (not a batch of found files).
    void fileAdded(vistrel::FolderKind kind);

private:
    CaptureLists& m_lists;
};

} // namespace vistrel
