#pragma once
// The recorder's screen: grabs of the recorded area over MIT-SHM on an xcb
// connection of its own (the segments are made once for the whole recording),
// the cursor drawn in (the cursor the screen shows, read through XFixes, or the
// chosen picture), and the DAMAGE watch that tells when nothing in the area,
// cursor included, changed since the last grab.
//
// Threads: the grab thread only (it owns the connection).

#include "capture/core/cursor_image.h"
#include "platform/x11/damage_watch.h"
#include "platform/x11/pixel_layout.h"
#include "platform/x11/shm_grab.h"
#include "platform/x11/x11_connection.h"
#include "record/core/record_loop.h"
#include "record/core/record_options.h"

#include <memory>
#include <optional>
#include <string>

namespace vistrel {

class ScreenFrameSource : public FrameSource {
public:
    // frameWidth x frameHeight: the size of every grab. Check ok() and error().
    // VISTREL_NO_DAMAGE=1 in the environment turns the change watch off.
    ScreenFrameSource(const AviRecordOptions& options, int frameWidth, int frameHeight);

    bool ok() const { return m_error.empty(); }
    const std::string& error() const { return m_error; }
    bool watchesChanges() const { return m_damage && m_damage->ok(); }
    bool usesSharedMemory() const { return m_bands && m_bands->ok(); }

    std::optional<RecordPoint> CursorPosition() override;
    bool MayHaveChanged(const RecordRegion& area) override;
    bool Grab(const RecordRegion& area, Bitmap& frame, std::string& error) override;

private:
    // The cursor as it is to be drawn now (picture, hot spot, position), or
    // nullopt when none is drawn.
    std::optional<CursorImage> CursorToDraw();

    AviRecordOptions m_options;
    int m_width, m_height;
    x11::Connection m_conn;
    std::optional<x11::PixelLayout> m_layout;
    std::unique_ptr<x11::ShmBands> m_bands;
    std::unique_ptr<x11::DamageWatch> m_damage;
    std::optional<CursorImage> m_drawn; // the cursor in the last grab
    std::optional<std::optional<CursorImage>> m_looked; // read by MayHaveChanged for this grab
    std::optional<RecordPoint> m_highlightAt; // where its highlight was drawn
    std::string m_error;
};

} // namespace vistrel
