#include "library/library_files.h"

#include "icons/icon_clipboard.h"
#include "library/core/file_moves.h"
#include "library/core/list_edits.h"
#include "library/core/save_as_types.h"
#include "library/model/capture_library.h"

#include <QUrl>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace vistrel {

namespace {

std::string PathOfRow(const CaptureLibrary& library, FolderKind kind, int row)
{
    const auto& files = library.files(kind);
    return row >= 0 && size_t(row) < files.size() ? files[size_t(row)] : std::string();
}

std::string InFolder(std::string folder, std::string_view name)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder + "/" + std::string(name);
}

} // namespace

std::vector<std::string> DeleteEntries(CaptureLibrary& library, FolderKind kind, const std::vector<int>& rows)
{
    std::vector<size_t> removed;
    std::vector<std::string> failed;
    for (int row : rows) {
        const std::string path = PathOfRow(library, kind, row);
        if (path.empty())
            continue;
        if (unlink(path.c_str()) == 0 || errno == ENOENT)
            removed.push_back(size_t(row));
        else
            failed.push_back(path);
    }
    library.Remove(kind, removed);
    return failed;
}

RenameResult RenameEntry(CaptureLibrary& library, FolderKind kind, int row, const std::string& edited)
{
    const std::string path = PathOfRow(library, kind, row);
    const auto target = path.empty() ? std::nullopt : RenameTarget(path, edited);
    if (!target)
        return {};
    if (const int error = RenameNoReplace(path, *target))
        return {false, std::strerror(error)};
    library.Replace(kind, size_t(row), *target);
    return {true, {}};
}

int CopyEntriesTo(const CaptureLibrary& library, FolderKind kind, const std::vector<int>& rows,
                  const std::string& folder)
{
    int copied = 0;
    for (int row : rows) {
        const std::string path = PathOfRow(library, kind, row);
        if (!path.empty() && CopyReplacing(path, InFolder(folder, FileNameOf(path))) == 0)
            ++copied;
    }
    return copied;
}

int MoveEntriesTo(CaptureLibrary& library, FolderKind kind, const std::vector<int>& rows, const std::string& folder)
{
    int moved = 0;
    for (int row : rows) {
        const std::string path = PathOfRow(library, kind, row);
        if (path.empty())
            continue;
        const std::string target = InFolder(folder, FileNameOf(path));
        if (MoveNoReplace(path, target) == 0) {
            library.Replace(kind, size_t(row), target);
            ++moved;
        }
    }
    return moved;
}

CImage ReadCapture(const std::string& path)
{
    const int type = ReadableImageType(path);
    return type < 0 ? CImage() : CImage(path.c_str(), cximage_type(type));
}

QImage ReadCapturePicture(const std::string& path)
{
    const auto bitmap = ReadCapture(path).MakeBitmap();
    return bitmap ? ImageFromBitmap(*bitmap) : QImage();
}

std::unique_ptr<QMimeData> FilesForPaste(const std::vector<std::string>& paths)
{
    QList<QUrl> urls;
    QByteArray gnome = "copy";
    for (const std::string& path : paths) {
        const QUrl url = QUrl::fromLocalFile(QString::fromStdString(path));
        urls << url;
        gnome += "\n" + url.toEncoded();
    }
    auto data = std::make_unique<QMimeData>();
    data->setUrls(urls); // text/uri-list
    data->setData("x-special/gnome-copied-files", gnome);
    return data;
}

} // namespace vistrel
