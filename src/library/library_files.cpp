#include "library/library_files.h"

#include "base/file_moves.h"
#include "base/path_names.h"
#include "library/core/list_texts.h"
#include "library/core/save_as.h"
#include "library/model/capture_library.h"
#include "ui/picture_clipboard.h"

#include <QUrl>

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

std::vector<std::string> DeleteRows(CaptureLibrary& library, FolderKind kind, const std::vector<int>& rows)
{
    std::vector<size_t> selected;
    for (int row : rows)
        if (row >= 0)
            selected.push_back(size_t(row));
    std::vector<std::string> failed;
    library.Delete(kind, selected, [&failed](const std::string& path) {
        const bool removed = RemoveFileForGood(path);
        if (!removed)
            failed.push_back(path);
        return removed;
    });
    return failed;
}

RenameResult RenameRow(CaptureLibrary& library, FolderKind kind, int row, const std::string& edited)
{
    if (row < 0)
        return {};
    return library.Rename(kind, size_t(row), edited, RenameWithoutReplacing);
}

int CopyEntriesTo(const CaptureLibrary& library, FolderKind kind, const std::vector<int>& rows,
                  const std::string& folder)
{
    int copied = 0;
    for (int row : rows) {
        const std::string path = PathOfRow(library, kind, row);
        if (!path.empty() && CopyReplacing(path, InFolder(folder, FileNameOfPath(path))) == 0)
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
        const std::string target = InFolder(folder, FileNameOfPath(path));
        if (MoveWithoutReplacing(path, target) == 0) {
            library.Replace(kind, size_t(row), target);
            ++moved;
        }
    }
    return moved;
}

QImage ReadCapturePicture(const std::string& path)
{
    SaveCopyResult failure;
    const auto image = ReadPicture(path, failure);
    const auto bitmap = image ? image->MakeBitmap() : nullptr;
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
