#pragma once
// CaptureListModel: the captured-file list as a Qt model over the capture
// library. It keeps no rows of its own: row i is entry i of the capture list
// of the kind it shows, and its columns (file name, path, size, creation date)
// and picture are worked out from the file when a view asks. A row whose file
// is gone shows nothing. Editing a file name renames the file.
// User-interface thread only.

#include "library/core/capture_lists.h"
#include "library/core/list_texts.h"
#include "library/list_pictures.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <string>

namespace vistrel {

class CaptureLibrary;

class CaptureListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // library must outlive the model.
    explicit CaptureListModel(CaptureLibrary& library, QObject* parent = nullptr);

    FolderKind kind() const { return m_kind; }
    void SetKind(FolderKind kind);
    void SetPictureSize(PictureSize size);
    void SetColumnTitles(const QStringList& titles);
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

    CaptureLibrary& m_library;
    FolderKind m_kind = FOLDER_BITMAPS;
    int m_rows = 0; // the rows the views have been told of
    PictureSize m_pictureSize = PictureSize::Small;
    QStringList m_titles {"File Name", "File Path", "Size", "Creation Date"};
    DateNames m_dateNames;
    mutable ListPictures m_pictures;
};

} // namespace vistrel
