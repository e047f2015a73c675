#pragma once
// The file commands of the captured-file list, without their dialogs: delete,
// rename, copy and move to a folder, and what goes on the clipboard. Each changes the capture library only for the files
// it really changed, so the list and the disk agree after any failure.
// User-interface thread only (the library is).

#include "library/core/capture_lists.h"
#include "library/core/list_edits.h"

#include <QImage>
#include <QMimeData>

#include <memory>
#include <string>
#include <vector>

namespace vistrel {

class CaptureLibrary;

// Removes the rows' files for good and their entries; a file already gone
// counts as removed. The paths that could not be removed (their rows stay).
std::vector<std::string> DeleteRows(CaptureLibrary& library, FolderKind kind, const std::vector<int>& rows);

// The row's file renamed to the edited name in its folder; an existing file of
// that name is never replaced.
RenameResult RenameRow(CaptureLibrary& library, FolderKind kind, int row, const std::string& edited);

// Copies each row's file into folder, replacing a file of its name there. The
// number copied; the list does not change.
int CopyEntriesTo(const CaptureLibrary& library, FolderKind kind, const std::vector<int>& rows,
                  const std::string& folder);
// Moves each row's file into folder (never over a file of its name) and points
// its entry there. The number moved.
int MoveEntriesTo(CaptureLibrary& library, FolderKind kind, const std::vector<int>& rows, const std::string& folder);

// The picture of a capture for the clipboard; null when it cannot be read.
QImage ReadCapturePicture(const std::string& path);

// The files for a file manager's Paste, as a copy: text/uri-list and
// x-special/gnome-copied-files.
std::unique_ptr<QMimeData> FilesForPaste(const std::vector<std::string>& paths);

} // namespace vistrel
