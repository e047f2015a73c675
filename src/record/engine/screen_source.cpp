#include "record/engine/screen_source.h"

#include "capture/core/cursor_overlay.h"
#include "platform/x11/cursor_image.h"
#include "platform/x11/screen_grab.h"
#include "platform/x11/window_at_pointer.h"
#include "record/core/cursor_highlight.h"

#include <cstdlib>
#include <string_view>

namespace vistrel {

namespace {

bool DamageDisabledByEnvironment()
{
    const char* value = std::getenv("VISTREL_NO_DAMAGE");
    return value && *value && std::string_view(value) != "0";
}

std::optional<RecordPoint> QueryPointer(const x11::Connection& conn)
{
    const auto position = x11::PointerPosition(conn);
    if (!position)
        return std::nullopt;
    return RecordPoint{position->first, position->second};
}

// The screen rectangle a drawn cursor covers.
x11::ScreenRect CursorBox(const CursorImage& cursor)
{
    return {cursor.x - cursor.hotX, cursor.y - cursor.hotY, cursor.image.width, cursor.image.height};
}

// Whether two cursors would be drawn alike: same picture, hot spot and place.
bool SameCursor(const std::optional<CursorImage>& a, const std::optional<CursorImage>& b)
{
    if (!a || !b)
        return !a && !b;
    return a->x == b->x && a->y == b->y && a->hotX == b->hotX && a->hotY == b->hotY &&
           a->image.width == b->image.width && a->image.height == b->image.height &&
           a->image.pixels == b->image.pixels;
}

} // namespace

ScreenFrameSource::ScreenFrameSource(const AviRecordOptions& options, int frameWidth, int frameHeight)
    : m_options(options), m_width(frameWidth), m_height(frameHeight)
{
    if (!m_conn.ok()) {
        m_error = m_conn.error();
        return;
    }
    m_layout = x11::RootPixelLayout(m_conn, &m_error);
    if (!m_layout)
        return;
    // Without shared memory each grab goes the slow way; the recording still runs.
    std::string problem;
    m_bands = std::make_unique<x11::ShmBands>(m_conn, *m_layout, frameWidth, &problem);
    if (!DamageDisabledByEnvironment())
        m_damage = std::make_unique<x11::DamageWatch>(m_conn);
}

std::optional<RecordPoint> ScreenFrameSource::CursorPosition() { return QueryPointer(m_conn); }

std::optional<CursorImage> ScreenFrameSource::CursorToDraw()
{
    if (!m_options.recordCursor)
        return std::nullopt;
    const std::optional<CursorImage>* picture = nullptr;
    if (m_options.cursorType == CURSOR_CUSTOM)
        picture = &m_options.customCursor;
    else if (m_options.cursorType == CURSOR_FILE)
        picture = &m_options.fileCursor;
    if (!picture) // the cursor the screen shows; none without XFixes
        return x11::ReadCursorImage(m_conn);
    if (!*picture)
        return std::nullopt;
    const auto pointer = QueryPointer(m_conn);
    if (!pointer)
        return std::nullopt;
    CursorImage cursor = **picture;
    cursor.x = pointer->x;
    cursor.y = pointer->y;
    return cursor;
}

bool ScreenFrameSource::MayHaveChanged(const RecordRegion& area)
{
    m_looked.reset();
    if (!m_damage || !m_damage->ok())
        return true;
    const x11::ScreenRect box{area.left, area.top, m_width, m_height};
    // Looked at every time: the look also clears what was drawn meanwhile.
    bool changed = m_damage->ChangedSinceLastLook(box);
    if (m_options.recordCursor) {
        std::optional<CursorImage> now = CursorToDraw();
        const bool same = SameCursor(now, m_drawn);
        m_looked = std::move(now);
        const std::optional<CursorImage>& current = *m_looked;
        if (!same) {
            const bool wasInside = m_drawn && !x11::Intersect(CursorBox(*m_drawn), box).empty();
            const bool isInside = current && !x11::Intersect(CursorBox(*current), box).empty();
            changed = changed || wasInside || isInside;
        }
    }
    if (m_options.highlightCursor) {
        const auto pointer = QueryPointer(m_conn);
        changed = changed || !pointer || !m_highlightAt || pointer->x != m_highlightAt->x ||
                  pointer->y != m_highlightAt->y;
    }
    if (!changed)
        m_looked.reset(); // no grab follows
    return changed;
}

bool ScreenFrameSource::Grab(const RecordRegion& area, Bitmap& frame, std::string& error)
{
    if (!ok()) {
        error = m_error;
        return false;
    }
    const x11::ScreenRect source{area.left, area.top, m_width, m_height};
    std::string problem;
    if (!m_bands || !m_bands->ok() || !m_bands->Grab(source, frame, &problem)) {
        auto bitmap = x11::GrabArea(m_conn, source, &problem);
        if (!bitmap || bitmap->width != m_width || bitmap->height != m_height) {
            error = "cannot grab the screen: " + (problem.empty() ? std::string("the area left the screen") : problem);
            return false;
        }
        frame.pixels.swap(bitmap->pixels);
    }
    // The cursor just looked at, when the look came right before: one request less a frame.
    std::optional<CursorImage> cursor = m_looked ? std::move(*m_looked) : CursorToDraw();
    m_looked.reset();
    m_highlightAt.reset();
    if (m_options.highlightCursor) {
        m_highlightAt = cursor ? std::optional<RecordPoint>(RecordPoint{cursor->x, cursor->y}) : QueryPointer(m_conn);
        if (m_highlightAt)
            DrawHighlight(frame, m_highlightAt->x - kHighlightBox / 2 - area.left,
                          m_highlightAt->y - kHighlightBox / 2 - area.top, m_options.highlightSize,
                          m_options.highlightShape, m_options.highlightColor);
    }
    if (cursor)
        DrawCursor(frame, *cursor, area.left, area.top);
    m_drawn = std::move(cursor);
    return true;
}

} // namespace vistrel
