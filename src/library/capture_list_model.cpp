#include "library/capture_list_model.h"

#include "base/file_moves.h"
#include "base/path_names.h"
#include "library/core/list_texts.h"
#include "library/library_files.h"
#include "library/model/capture_library.h"
#include "library/thumbnail_images.h"

#include <QLocale>

#include <algorithm>
#include <cstring>
#include <utility>

namespace vistrel {

namespace {

// The day and month names of the user's locale, for the date column.
DateNames LocaleDateNames()
{
    const QLocale locale;
    DateNames names;
    for (size_t day = 0; day < names.weekdays.size(); ++day) // QLocale counts Monday as 1, Sunday as 7
        names.weekdays[day] = locale.dayName(day == 0 ? 7 : int(day)).toStdString();
    for (size_t month = 0; month < names.months.size(); ++month)
        names.months[month] = locale.monthName(int(month) + 1).toStdString();
    return names;
}

} // namespace

CaptureListModel::CaptureListModel(CaptureLibrary& library, QObject* parent)
    : QAbstractTableModel(parent), m_library(library), m_rows(int(library.files(m_kind).size())),
      m_dateNames(LocaleDateNames())
{
    connect(&library, &CaptureLibrary::listChanged, this, &CaptureListModel::OnListChanged);
    constexpr int kTickMs = 16;
    m_tick.setSingleShot(true);
    m_tick.setInterval(kTickMs);
    connect(&m_tick, &QTimer::timeout, this, &CaptureListModel::TellThumbnails);
}

void CaptureListModel::SetKind(FolderKind kind)
{
    beginResetModel();
    m_kind = kind;
    m_rows = int(m_library.files(kind).size());
    endResetModel();
}

void CaptureListModel::SetPictureSize(PictureSize size)
{
    if (size == m_pictureSize)
        return;
    m_pictureSize = size;
    if (m_rows > 0)
        emit dataChanged(index(0, 0), index(m_rows - 1, 0), {Qt::DecorationRole});
}

void CaptureListModel::SetColumnTitles(const QStringList& titles)
{
    m_titles = titles;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void CaptureListModel::ThumbnailReady(int row)
{
    m_readyRows.push_back(row);
    if (!m_tick.isActive())
        m_tick.start();
}

void CaptureListModel::TellThumbnails()
{
    std::vector<int> rows = std::exchange(m_readyRows, {});
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    // One signal per run of neighbouring rows.
    for (size_t first = 0; first < rows.size();) {
        size_t last = first;
        while (last + 1 < rows.size() && rows[last + 1] == rows[last] + 1)
            ++last;
        if (rows[first] < m_rows)
            emit dataChanged(index(rows[first], 0), index(std::min(rows[last], m_rows - 1), 0), {Qt::DecorationRole});
        first = last + 1;
    }
}

std::string CaptureListModel::PathAt(int row) const
{
    const auto& files = m_library.files(m_kind);
    return row >= 0 && size_t(row) < files.size() ? files[size_t(row)] : std::string();
}

int CaptureListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_rows; }

int CaptureListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 4; }

QVariant CaptureListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows)
        return {};
    const std::string path = PathAt(index.row());
    if (role == Qt::EditRole && index.column() == 0)
        return QString::fromStdString(std::string(FileNameOfPath(path)));
    if (role == Qt::DisplayRole) {
        const RowTexts texts = RowTextsOf(path, m_dateNames); // all empty for a file that is gone
        switch (index.column()) {
        case 0: return QString::fromStdString(texts.name);
        case 1: return QString::fromStdString(texts.path);
        case 2: return QString::fromStdString(texts.size);
        default: return QString::fromStdString(texts.created);
        }
    }
    if (role != Qt::DecorationRole && role != Qt::ToolTipRole)
        return {};
    if (!LookAtFile(path))
        return {}; // the file is gone: a blank row
    if (role == Qt::ToolTipRole)
        return QString::fromStdString(path);
    if (index.column() != 0)
        return {};
    if (m_pictureSize == PictureSize::Thumbnail && m_thumbnails && m_kind != FOLDER_AVI)
        if (const QPixmap built = m_thumbnails->Picture(index.row()); !built.isNull())
            return QIcon(built);
    return m_pictures.Picture(m_kind, QString::fromStdString(path), m_pictureSize);
}

QVariant CaptureListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= m_titles.size())
        return {};
    return m_titles[section];
}

Qt::ItemFlags CaptureListModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == 0)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool CaptureListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.column() != 0)
        return false;
    const std::string path = PathAt(index.row());
    const RenameResult result = RenameRow(m_library, m_kind, index.row(), value.toString().toStdString());
    if (result.status == RenameStatus::Failed)
        emit renameFailed(QString::fromStdString(path), QString::fromStdString(std::strerror(result.error)));
    return result.status == RenameStatus::Renamed;
}

void CaptureListModel::OnListChanged(FolderKind kind)
{
    if (kind != m_kind)
        return;
    const int count = int(m_library.files(kind).size());
    if (count > m_rows) {
        // Appended: the views keep their selection.
        beginInsertRows({}, m_rows, count - 1);
        m_rows = count;
        endInsertRows();
    } else if (count < m_rows) {
        beginResetModel();
        m_rows = count;
        endResetModel();
    } else if (count > 0) {
        emit dataChanged(index(0, 0), index(count - 1, columnCount() - 1));
    }
}

} // namespace vistrel
