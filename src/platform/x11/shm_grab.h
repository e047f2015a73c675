#pragma once
// The MIT-SHM path of the screen grab (screen_grab.h). The area comes in bands
// through two small private segments (shm_segment.h), one filled by the server
// while the other is copied out.

#include "codec/bitmap.h"
#include "platform/x11/pixel_layout.h"
#include "platform/x11/screen_rect.h"
#include "platform/x11/shm_segment.h"
#include "platform/x11/x11_connection.h"

#include <memory>
#include <string>

namespace vistrel::x11 {

// The two band segments for areas of one width, attached to the server; kept
// by a caller that grabs the same width again and again (a recording).
class ShmBands {
public:
    // Check ok() (and *problem) afterwards.
    ShmBands(const Connection& conn, const PixelLayout& layout, int width, std::string* problem);
    bool ok() const { return m_ok; }
    int width() const { return m_width; }

    // Reads source (wholly on the screen, of this width) into target's top left.
    bool Grab(const ScreenRect& source, Bitmap& target, std::string* problem);

private:
    const Connection& m_conn;
    PixelLayout m_layout;
    int m_width = 0;
    size_t m_rowBytes = 0;
    int m_bandRows = 0;
    size_t m_bandBytes = 0;
    std::unique_ptr<PrivateSegment> m_segments[2];
    std::unique_ptr<ServerAttachment> m_attachments[2];
    bool m_ok = false;
};

// Reads source (wholly on the screen) into target, a bitmap of its size. False with
// the reason in *problem when shared memory is unavailable or the server refuses it;
// the caller then takes the slower path.
bool GrabWithSharedMemory(const Connection& conn, const ScreenRect& source,
                          const PixelLayout& layout, Bitmap& target, std::string* problem);

} // namespace vistrel::x11
