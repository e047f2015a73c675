#pragma once
// CPreviewWnd: the preview bar's content. It shows the one file selected in
// the library: a picture fitted into it, an icon file's icon, or a video
// playing in an embedded player, and reports a picture's size and depth for
// the status bar. A double click on a picture opens the full-window viewer.
//
// What it shows is chosen by the name's last three characters ("bmp", "jpg",
// "tif", "png": a picture; "ico": an icon; "avi": a video); any other name
// keeps the kind of the file before it. A file that vanished shows nothing
// and clears the status text; one that cannot be decoded shows nothing and
// leaves the status text as it was.
//
// User-interface thread only.

#include "library/image_view_wnd.h"

#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace vistrel {

class CAviPlayer;
class CaptureLibrary;

class CPreviewWnd : public QWidget {
    Q_OBJECT
public:
    enum Mode { None = 0, Picture = 1, Icon = 2, Video = 3 };

    // owner: the main window, which owns the viewer; library outlives the preview.
    CPreviewWnd(const CaptureLibrary& library, QWidget* owner, QWidget* parent);
    ~CPreviewWnd() override; // closes an open viewer

    // Shows the file; an empty path shows nothing.
    void LoadPreview(const QString& path);
    // Before files are deleted: the player lets go of its file.
    void ClearPreview();
    // The full-window viewer for path (the list's Enter on a bitmap); null when
    // it cannot be opened.
    CImageViewWnd* OpenViewer(const QString& path);

    Mode mode() const { return m_mode; }
    CAviPlayer* player() const { return m_player; }
    CImageViewWnd* viewer() const { return m_viewer; }
    // The area the picture, icon or player is placed in.
    QRect ContentArea() const;

signals:
    // " width x height x bits" of the picture shown, or empty.
    void statusTextChanged(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void Forget();
    void LoadPicture(const QString& path);
    void PlacePlayer();

    const CaptureLibrary& m_library;
    QWidget* m_owner;
    Mode m_mode = None;
    QImage m_picture;
    QImage m_icon;
    CAviPlayer* m_player = nullptr; // child
    QString m_path;                 // of the picture last shown
    ViewerMemory m_viewerMemory;
    QPointer<CImageViewWnd> m_viewer;
};

// The picture mode a file name asks for; None when its name gives no kind.
CPreviewWnd::Mode PreviewModeForName(const QString& path);

} // namespace vistrel
