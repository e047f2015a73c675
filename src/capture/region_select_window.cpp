#include "capture/region_select_window.h"

#include "base/registry_store.h"
#include "base/trace.h"
#include "capture/core/capture_area.h"
#include "capture/core/shaped_bitmap.h"
#include "capture/grab/still_capture.h"
#include "capture/magnifier_dialog.h"
#include "platform/qt/screen_pixels.h"
#include "platform/qt/window_gone.h"
#include "platform/x11/cursor_image.h"
#include "platform/x11/screen_grab.h"
#include "i18n/language_texts.h"
#include "i18n/translate.h"
#include "settings/env.h"
#include "ui/selection_painting.h"
#include "ui/shape_cursors.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <chrono>
#include <functional>
#include <utility>
#include <cmath>

namespace vistrel {

namespace {

constexpr int kKeepOnTopMs = 50;
// The hint at the top shows until the user has finished this many selections.
constexpr uint32_t kHintedSelections = 3;
const char* const kSelectionKey = "Software\\Tessaro Works\\Vistrel\\Selection";

uint32_t FinishedSelections(const RegistryStore& store)
{
    return store.GetDword(kSelectionKey, "Finished").value_or(0);
}

void CountFinishedSelection()
{
    RegistryStore store(RegistryStore::DefaultPath());
    const uint32_t finished = FinishedSelections(store);
    if (finished >= kHintedSelections)
        return;
    store.SetDword(kSelectionKey, "Finished", finished + 1);
    store.Save();
}

QString HintText(CaptureShape shape)
{
    return QString::fromStdString(
        TranslateText(kSelectionSection, shape == SHAPE_POLYGON ? kPolygonHintKey : kDragHintKey));
}

// The Windows key codes the magnifier's rules speak of.
int KeyCodeFor(const QKeyEvent& event)
{
    const bool keypad = event.modifiers() & Qt::KeypadModifier;
    switch (event.key()) {
    case Qt::Key_Plus: return keypad ? 107 : 43;
    case Qt::Key_Minus: return keypad ? 109 : 45;
    default: return event.key() < 0x80 ? event.key() : 0;
    }
}

} // namespace

CRegionSelectWnd::CRegionSelectWnd(const CEnv& env, QWidget* mainWindow, std::function<bool()> inTray)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint),
      m_env(env), m_mainWindow(mainWindow), m_inTray(std::move(inTray)), m_keepOnTop(new QTimer(this))
{
    setObjectName("regionSelect");
    setWindowTitle("Vistrel selection");
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    connect(m_keepOnTop, &QTimer::timeout, this, &CRegionSelectWnd::KeepOnTop);
}

CRegionSelectWnd::~CRegionSelectWnd() = default;

void CRegionSelectWnd::BeginCapture(Done done)
{
    m_done = std::move(done);
    m_selection = std::make_unique<RegionSelection>(m_nShape);
    m_hidMainWindow = false;
    if (m_env.m_bHideSelf && m_mainWindow && m_mainWindow->isVisible()) {
        m_mainWindow->hide();
        m_hidMainWindow = true;
    }
    // Only a window that was just hidden needs the wait.
    if (m_hidMainWindow)
        WhenWindowGone(this, m_mainWindow->winId(), [this] { GrabScreen(); });
    else
        GrabScreen();
}

void CRegionSelectWnd::GrabScreen()
{
    if (m_nShape == SHAPE_FULLSCREEN) {
        CaptureRequest request;
        request.kind = CaptureKind::FullScreen;
        request.includeCursor = m_bIncludeCursor;
        StillGrab grab = GrabStill(request, m_env);
        const bool grabbed = grab.bitmap.has_value();
        EndCapture(grabbed, std::move(grab.bitmap), grab.error);
        return;
    }
    m_pointerConn = std::make_unique<x11::Connection>();
    const x11::Connection& conn = *m_pointerConn;
    std::string error;
    m_frozen = conn.ok() ? x11::GrabScreen(conn, &error) : std::nullopt;
    if (!m_frozen) {
        EndCapture(false, std::nullopt, conn.ok() ? "cannot grab the screen: " + error : conn.error());
        return;
    }
    ShowOverlay();
}

void CRegionSelectWnd::ShowOverlay()
{
    m_frozenImage = QImage(reinterpret_cast<const uchar*>(m_frozen->pixels.data()), m_frozen->width,
                           m_frozen->height, m_frozen->width * 4, QImage::Format_RGB32);
    const double dpr = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->devicePixelRatio() : 1.0;
    m_frozenImage.setDevicePixelRatio(dpr);
    // The whole X screen, every monitor: its pixels at (0, 0).
    setGeometry(0, 0, int(std::ceil(m_frozen->width / dpr)), int(std::ceil(m_frozen->height / dpr)));
    setCursor(ShapeCursor(m_nShape));
    m_showHint = FinishedSelections(RegistryStore(RegistryStore::DefaultPath())) < kHintedSelections;
    m_selection->MouseMove(ScreenPixels(mapFromGlobal(QCursor::pos())));
    show();
    raise();
    activateWindow();
    grabKeyboard();
    grabMouse(ShapeCursor(m_nShape));
    m_keepOnTop->start(kKeepOnTopMs);
    if (m_env.m_bShowMagnifier) {
        m_magnifier = std::make_unique<CMagnifierDlg>(m_frozenImage, this);
        if (m_magnifierShown)
            m_magnifier->show();
    }
}

Point CRegionSelectWnd::ScreenPixels(const QPointF& local) const
{
    return PointerScreenPixels(local, m_frozenImage.devicePixelRatio(), m_pointerConn.get());
}

void CRegionSelectWnd::KeepOnTop()
{
    // Another window that came up on top is covered again; the magnifier stays above.
    raise();
    if (m_magnifier && m_magnifier->isVisible())
        m_magnifier->raise();
}

void CRegionSelectWnd::ReportToMagnifier()
{
    if (m_magnifier && m_magnifier->isVisible())
        m_magnifier->UpdateInfo(m_selection->crosshairMode() ? std::nullopt : m_selection->BandBounds(),
                                m_selection->current());
}

void CRegionSelectWnd::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_selection)
        return;
    m_selection->MouseMove(ScreenPixels(event->position()));
    ReportToMagnifier();
    update();
}

void CRegionSelectWnd::mousePressEvent(QMouseEvent* event)
{
    if (!m_selection)
        return;
    if (event->button() == Qt::RightButton) {
        Apply(m_selection->Cancel());
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    Apply(m_selection->LeftButtonDown(ScreenPixels(event->position())));
}

void CRegionSelectWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_selection || event->button() != Qt::LeftButton)
        return;
    Apply(m_selection->LeftButtonUp(ScreenPixels(event->position())));
}

void CRegionSelectWnd::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!m_selection || event->button() != Qt::LeftButton)
        return;
    Apply(m_selection->LeftDoubleClick(ScreenPixels(event->position())));
}

void CRegionSelectWnd::keyPressEvent(QKeyEvent* event)
{
    if (!m_selection)
        return;
    if (event->key() == Qt::Key_Escape) {
        Apply(m_selection->Cancel());
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Apply(m_selection->EnterKey());
        return;
    }
    if (event->key() == Qt::Key_H && m_magnifier) {
        m_magnifierShown = !m_magnifierShown;
        m_magnifier->setVisible(m_magnifierShown);
    }
    if (m_magnifier)
        m_magnifier->HandleKey(KeyCodeFor(*event));
}

void CRegionSelectWnd::closeEvent(QCloseEvent* event)
{
    // Closed from outside (another program, a session manager): nothing was
    // chosen, so nothing is saved.
    event->ignore();
    if (m_selection)
        Apply(m_selection->Cancel());
}

void CRegionSelectWnd::Apply(RegionSelection::Step step)
{
    switch (step) {
    case RegionSelection::Step::Continue: update(); break;
    case RegionSelection::Step::Finished: FinishCapture(false); break;
    case RegionSelection::Step::Cancelled: FinishCapture(true); break;
    }
}

void CRegionSelectWnd::FinishCapture(bool cancelled)
{
    m_magnifier.reset();
    std::optional<Bitmap> picture;
    std::string error;
    if (!cancelled) {
        CaptureAreaResult area = AreaForRequest(m_selection->Request(), m_frozen->width, m_frozen->height);
        if (const auto* shape = std::get_if<CaptureArea>(&area))
            picture = BuildShapedBitmap(*m_frozen, *shape, ArgbFromColorRef(m_env.m_crBitmapBack), nullptr);
        else
            error = DescribeAreaError(std::get<CaptureAreaError>(area));
    }
    if (!cancelled)
        CountFinishedSelection();
    m_keepOnTop->stop();
    releaseKeyboard();
    releaseMouse();
    hide();
    const bool finished = !cancelled && picture.has_value();
    EndCapture(finished, std::move(picture), error);
}

void CRegionSelectWnd::EndCapture(bool finished, std::optional<Bitmap> picture, const std::string& error)
{
    Done done = std::move(m_done);
    m_selection.reset();
    m_frozenImage = QImage();
    m_frozen.reset();
    m_pointerConn.reset();
    if (done)
        done(finished, std::move(picture), error);
    if (m_hidMainWindow && m_mainWindow && !(m_inTray && m_inTray()))
        m_mainWindow->show();
}

void CRegionSelectWnd::paintEvent(QPaintEvent*)
{
    if (!m_selection || m_frozenImage.isNull())
        return;
    const auto started = std::chrono::steady_clock::now();
    PaintOverlay();
    if (TraceEnabled())
        Trace("overlay paint " +
              std::to_string(std::chrono::duration_cast<std::chrono::microseconds>(
                                 std::chrono::steady_clock::now() - started)
                                 .count()) +
              " us");
}

void CRegionSelectWnd::PaintOverlay()
{
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), m_frozenImage);
    // The rest in screen pixels.
    const double dpr = m_frozenImage.devicePixelRatio();
    painter.scale(1 / dpr, 1 / dpr);
    PaintSelection(painter, *m_selection, m_frozen->width, m_frozen->height);
    if (m_showHint)
        PaintHint(painter);
    ReportToMagnifier();
}

void CRegionSelectWnd::PaintHint(QPainter& painter) const
{
    const QString text = HintText(m_nShape);
    const QFontMetrics metrics(painter.font());
    QRect label = metrics.boundingRect(text).adjusted(-10, -6, 10, 6);
    // At the top of the monitor the pointer is on, centred.
    const QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    const double dpr = m_frozenImage.devicePixelRatio();
    const QRect monitor = screen ? QRect(screen->geometry().topLeft() * dpr, screen->geometry().size() * dpr)
                                 : QRect(0, 0, m_frozen->width, m_frozen->height);
    label.moveTopLeft(QPoint(monitor.center().x() - label.width() / 2, monitor.top() + 12));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 180));
    painter.drawRoundedRect(label, 4, 4);
    painter.setPen(Qt::white);
    painter.drawText(label, Qt::AlignCenter, text);
}

} // namespace vistrel
