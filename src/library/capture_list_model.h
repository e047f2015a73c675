#pragma once
// CaptureListModel: the captured-file list as a Qt model over the capture
// library. It keeps no rows of its own: row i is entry i of the capture list
// of the kind it shows, and its columns (file name, path, size, creation date)
// and picture are worked out from the file when a view asks. A row whose file
// is gone shows nothing. Editing a file name renames the file. At the
// thumbnail size a row shows its built thumbnail once there is one; the views
// hear of new thumbnails at most once per tick, not once per picture.
// User-interface thread only.

#include "library/core/capture_lists.h"
#include "library/core/list_texts.h"
#include "library/list_pictures.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QTimer>

#include <string>
#include <vector>

namespace vistrel {

class CaptureLibrary;
class CThumbnailImages;

class CaptureListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // library must outlive the model.
    explicit CaptureListModel(CaptureLibrary& library, QObject* parent = nullptr);

    FolderKind kind() const { return m_kind; }
    void SetKind(FolderKind kind);
    void SetPictureSize(PictureSize size);
    void SetColumnTitles(const QStringList& titles);
    // Where the rows' thumbnails come from (null: none); it must outlive the model.
    void SetThumbnails(const CThumbnailImages* thumbnails) { m_thumbnails = thumbnails; }
    // The row's thumbnail was built: the views repaint it at the next tick.
    void ThumbnailReady(int row);
    // Thumbnails built that the views have not heard of yet.
    bool thumbnailsPending() const { return m_tick.isActive(); }
    // The row's file, "" past the end.
    std::string PathAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Column 0's edited text: the rename (refused when the name is taken).
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    // A rename the file system refused; the row keeps its name.
    void renameFailed(const QString& path, const QString& reason);

private:
    void OnListChanged(FolderKind kind);
    void TellThumbnails();

    CaptureLibrary& m_library;
    FolderKind m_kind = FOLDER_BITMAPS;
    int m_rows = 0; // the rows the views have been told of
    PictureSize m_pictureSize = PictureSize::Small;
    QStringList m_titles {"File Name", "File Path", "Size", "Creation Date"};
    DateNames m_dateNames;
    mutable ListPictures m_pictures;
    const CThumbnailImages* m_thumbnails = nullptr;
    std::vector<int> m_readyRows; // thumbnails the views have not heard of
    QTimer m_tick;
};

} // namespace vistrel
