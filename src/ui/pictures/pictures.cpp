#include "ui/pictures/pictures.h"

// Rendering goes through our own icon engine rather than Qt's SVG icon plugin:
// the plugin knows one drawing per icon and scales it to any size, while a
// pixel-grid picture stays sharp only when the design drawn for a size is the
// one shown, at a whole multiple of its pixels. The engine also works when the
// plugin is not installed.

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

namespace vistrel {
namespace {

// One drawing of a picture: its resource, its size in pixels, how many columns
// on each side hold nothing (so they may be cut off to fit a narrower box), and
// from which shown size on it is the drawing to use.
struct Design {
    QString path;
    QSize size;
    int freeColumns = 0;
    int usedFromPx = 0;
};

QSize ContentSize(const Design& design)
{
    return {design.size.width() - 2 * design.freeColumns, design.size.height()};
}

// The design for a box of `logical` device-independent pixels: of those in use
// from that size or smaller, the one for the largest size. The designs are listed
// by that size, the first from 0.
const Design& ChooseDesign(const std::vector<Design>& designs, QSize logical)
{
    const int shown = std::min(logical.width(), logical.height());
    const Design* chosen = &designs.front();
    for (const Design& design : designs)
        if (design.usedFromPx <= shown)
            chosen = &design;
    return *chosen;
}

// How a design lands in a box of device pixels: the scale at which its content
// fits, and the size of the image, which cuts off at most the free columns.
struct Placement {
    double scale;
    QSize image;
};

Placement Place(const Design& design, QSize box)
{
    const QSize content = ContentSize(design);
    const double scale = std::min(double(box.width()) / content.width(),
                                  double(box.height()) / content.height());
    const int width = std::min(box.width(), int(std::lround(design.size.width() * scale)));
    const int height = std::min(box.height(), int(std::lround(design.size.height() * scale)));
    return {scale, QSize(std::max(width, 1), std::max(height, 1))};
}

QImage Render(const Design& design, QSize box)
{
    const Placement placement = Place(design, box);
    QImage image(placement.image, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(design.path);
    if (!renderer.isValid())
        return image;
    const QSizeF drawn = QSizeF(design.size) * placement.scale;
    // Centred: a cut takes the same number of free columns from either side.
    const QRectF target((placement.image.width() - drawn.width()) / 2,
                        (placement.image.height() - drawn.height()) / 2, drawn.width(),
                        drawn.height());
    QPainter painter(&image);
    renderer.render(&painter, target);
    return image;
}

// Disabled commands: grey and faded, so they recede on the light dialog colour.
void MakeDisabled(QImage& image)
{
    image.convertTo(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grey = 96 + qGray(line[x]) * 5 / 8;
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]) * 9 / 20);
        }
    }
    image.convertTo(QImage::Format_ARGB32_Premultiplied);
}

class PictureEngine final : public QIconEngine {
public:
    explicit PictureEngine(std::vector<Design> designs) : m_designs(std::move(designs)) {}
    PictureEngine(const PictureEngine&) = default;

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        QPixmap pixmap = scaledPixmap((QSizeF(rect.size()) * ratio).toSize(), mode, state, ratio);
        if (pixmap.isNull())
            return;
        pixmap.setDevicePixelRatio(ratio);
        const QSizeF shown = pixmap.deviceIndependentSize();
        // Whole pixels only: a picture placed between pixels would blur.
        const QPointF at(rect.x() + std::floor((rect.width() - shown.width()) / 2),
                         rect.y() + std::floor((rect.height() - shown.height()) / 2));
        painter->drawPixmap(at, pixmap);
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        if (size.isEmpty())
            return {};
        return Place(ChooseDesign(m_designs, size), size).image;
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    // `deviceSize` is already multiplied by `scale`; the design is chosen by the
    // size shown, the drawing made at the device's resolution.
    QPixmap scaledPixmap(const QSize& deviceSize, QIcon::Mode mode, QIcon::State,
                         qreal scale) override
    {
        if (deviceSize.isEmpty())
            return {};
        const QSize logical =
            scale > 0 ? (QSizeF(deviceSize) / scale).toSize().expandedTo(QSize(1, 1)) : deviceSize;
        const Design& design = ChooseDesign(m_designs, logical);
        const bool disabled = mode == QIcon::Disabled;
        const QString key = QStringLiteral("vistrel-picture:%1:%2x%3:%4")
                                .arg(design.path)
                                .arg(deviceSize.width())
                                .arg(deviceSize.height())
                                .arg(disabled ? 1 : 0);
        QPixmap cached;
        if (QPixmapCache::find(key, &cached))
            return cached;
        QImage image = Render(design, deviceSize);
        if (disabled)
            MakeDisabled(image);
        QPixmap made = QPixmap::fromImage(std::move(image));
        QPixmapCache::insert(key, made);
        return made;
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const Design& design : m_designs)
            sizes.append(design.size);
        return sizes;
    }

    QString key() const override { return QStringLiteral("vistrel-picture"); }

    QIconEngine* clone() const override
    {
        // QIcon takes ownership of the engine it is given.
        return std::make_unique<PictureEngine>(*this).release();
    }

private:
    std::vector<Design> m_designs;
};

QIcon MakeIcon(std::vector<Design> designs)
{
    if (designs.empty())
        return {};
    return QIcon(std::make_unique<PictureEngine>(std::move(designs)).release());
}

QString PicturePath(const char* name)
{
    return QStringLiteral(":/pictures/%1.svg").arg(QLatin1String(name));
}

// Every command with a picture. Those on the tool bar have a 30 x 30 drawing
// "name.svg" and a menu drawing "name-menu.svg"; the others only a menu drawing.
struct CommandPictureEntry {
    int commandId;
    const char* name;
    bool onToolBar;
};

constexpr CommandPictureEntry kCommandPictures[] = {
    {32771, "fullscreen", true},     {32806, "object", true},      {32772, "rectangle", true},
    {32773, "circle", true},         {32774, "ellipse", true},     {32775, "polygon", true},
    {32800, "timer", true},          {32777, "capture-icons", true}, {32802, "record-avi", true},
    {32818, "view", true},           {57664, "about", true},       {32780, "thumbnails", false},
    {59409, "large-icons", false},   {59408, "small-icons", false}, {32778, "list", false},
    {32779, "details", false},       {32811, "option", false},
};

const CommandPictureEntry* FindCommand(int commandId)
{
    for (const CommandPictureEntry& entry : kCommandPictures)
        if (entry.commandId == commandId)
            return &entry;
    return nullptr;
}

Design ToolBarDesign(const CommandPictureEntry& entry)
{
    return {PicturePath(entry.name), kToolBarPictureSize, 0, kToolBarPictureSize.height()};
}

Design MenuDesign(const CommandPictureEntry& entry)
{
    const QString name = entry.onToolBar ? QStringLiteral("%1-menu").arg(QLatin1String(entry.name))
                                         : QString::fromLatin1(entry.name);
    return {QStringLiteral(":/pictures/%1.svg").arg(name), kMenuPictureSize, 1, 0};
}

constexpr int kApplicationDetailFromPx = 28;

std::vector<Design> ApplicationDesigns()
{
    // The detailed drawing reads from about 28 pixels on; below, the 16-pixel one.
    return {{PicturePath("tray"), kTrayPictureSize, 0, 0},
            {PicturePath("app"), QSize(64, 64), 0, kApplicationDetailFromPx}};
}

} // namespace

QIcon CommandPicture(int commandId)
{
    const CommandPictureEntry* entry = FindCommand(commandId);
    if (!entry)
        return {};
    if (!entry->onToolBar)
        return MakeIcon({MenuDesign(*entry)});
    return MakeIcon({MenuDesign(*entry), ToolBarDesign(*entry)});
}

QIcon ToolBarPicture(int commandId)
{
    const CommandPictureEntry* entry = FindCommand(commandId);
    if (!entry || !entry->onToolBar)
        return {};
    return MakeIcon({ToolBarDesign(*entry)});
}

QIcon MenuPicture(int commandId)
{
    const CommandPictureEntry* entry = FindCommand(commandId);
    if (!entry)
        return {};
    return MakeIcon({MenuDesign(*entry)});
}

const QList<int>& ToolBarPictureCommands()
{
    static const QList<int> commands{32771, 32806, 32772, 32773, 32774, 32775,
                                     32800, 32777, 32802, 32818, 57664};
    return commands;
}

const QList<int>& MenuPictureCommands()
{
    static const QList<int> commands{32771, 32806, 32772, 32773, 32774, 32775,
                                     32800, 32780, 59409, 59408, 32778, 32779,
                                     57664, 32818, 32777, 32811, 32802};
    return commands;
}

QIcon ApplicationIcon()
{
    return MakeIcon(ApplicationDesigns());
}

QIcon TrayIcon()
{
    return ApplicationIcon();
}

QIcon TimerTrayFrame(int index)
{
    const int frame = (index % kTimerTrayFrameCount + kTimerTrayFrameCount) % kTimerTrayFrameCount;
    return MakeIcon({{QStringLiteral(":/pictures/timer-tray-%1.svg").arg(frame), kTrayPictureSize, 0, 0}});
}

QIcon FolderPicture(bool open)
{
    return MakeIcon({{PicturePath(open ? "folder-open" : "folder-closed"), kTrayPictureSize, 0, 0}});
}

QIcon FramePicture(FramePictureKind kind)
{
    const char* names[] = {"extension", "bar-float", "bar-close"};
    return MakeIcon({{PicturePath(names[int(kind)]), kTrayPictureSize, 0, 0}});
}

QIcon RecordingTrayIcon()
{
    return MakeIcon({{PicturePath("recording-tray"), kTrayPictureSize, 0, 0}});
}

QImage ApplicationIconImage(int sizePx)
{
    if (sizePx < 1 || sizePx > 1024)
        return {};
    const std::vector<Design> designs = ApplicationDesigns();
    const QSize box(sizePx, sizePx);
    return Render(ChooseDesign(designs, box), box);
}

} // namespace vistrel
