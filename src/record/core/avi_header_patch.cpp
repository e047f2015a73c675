#include "record/core/avi_header_patch.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace vistrel {

namespace {

class Reader {
public:
    explicit Reader(std::span<const uint8_t> data) : m_data(data) {}
    bool Has(size_t offset, size_t length) const { return offset <= m_data.size() && length <= m_data.size() - offset; }
    bool Tag(size_t offset, std::string_view tag) const
    {
        return Has(offset, 4) && std::memcmp(m_data.data() + offset, tag.data(), 4) == 0;
    }
    uint32_t U32(size_t offset) const
    {
        const uint8_t* p = m_data.data() + offset;
        return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    }
    size_t size() const { return m_data.size(); }

private:
    std::span<const uint8_t> m_data;
};

// The chunks inside a list from begin to end: calls visit(offset of the chunk's
// id, its data size) for each until visit returns false. False when a chunk
// runs past the data (the header is cut short there).
template <typename Visit>
bool WalkChunks(const Reader& r, size_t begin, size_t end, Visit visit)
{
    size_t at = begin;
    while (at + 8 <= end) {
        if (!r.Has(at, 8))
            return false;
        const size_t size = r.U32(at + 4);
        if (!visit(at, size))
            return true;
        const size_t next = at + 8 + size + (size & 1);
        if (next < at || next > end)
            return false;
        at = next;
    }
    return true;
}

} // namespace

std::optional<AviHeaderFields> LocateAviHeaderFields(std::span<const uint8_t> header)
{
    const Reader r(header);
    if (!r.Tag(0, "RIFF") || !r.Tag(8, "AVI "))
        return std::nullopt;
    AviHeaderFields fields;
    fields.riffSize = 4;
    bool haveMain = false, haveStream = false, haveMovi = false;
    WalkChunks(r, 12, r.size(), [&](size_t at, size_t size) {
        if (!r.Tag(at, "LIST") || !r.Has(at + 8, 4))
            return true;
        if (r.Tag(at + 8, "movi")) {
            fields.moviSize = at + 4;
            fields.moviStart = at + 8;
            haveMovi = true;
            return false; // the frames follow; nothing after it is header
        }
        if (!r.Tag(at + 8, "hdrl"))
            return true;
        const size_t end = std::min(r.size(), at + 8 + size);
        WalkChunks(r, at + 12, end, [&](size_t inner, size_t innerSize) {
            if (r.Tag(inner, "avih") && innerSize >= 20 && r.Has(inner + 8, 20)) {
                fields.mainHeaderFrames = inner + 8 + 16;
                haveMain = true;
            } else if (r.Tag(inner, "LIST") && r.Has(inner + 8, 4) && r.Tag(inner + 8, "strl") && !haveStream) {
                const size_t listEnd = std::min(r.size(), inner + 8 + innerSize);
                WalkChunks(r, inner + 12, listEnd, [&](size_t s, size_t sSize) {
                    if (r.Tag(s, "strh") && sSize >= 36 && r.Has(s + 8, 36)) {
                        fields.streamLength = s + 8 + 32;
                        haveStream = true;
                        return false;
                    }
                    return true;
                });
            } else if (r.Tag(inner, "LIST") && r.Has(inner + 8, 4) && r.Tag(inner + 8, "odml")) {
                if (r.Tag(inner + 12, "dmlh") && r.Has(inner + 20, 4))
                    fields.odmlFrames = inner + 20;
            }
            return true;
        });
        return true;
    });
    if (!haveMain || !haveStream || !haveMovi)
        return std::nullopt;
    return fields;
}

std::vector<AviPatch> AviProgressPatches(const AviHeaderFields& fields, uint64_t fileLength, uint64_t frames)
{
    const uint32_t count = uint32_t(std::min<uint64_t>(frames, UINT32_MAX));
    std::vector<AviPatch> patches;
    if (fileLength <= kFirstRiffLimit && fileLength >= fields.moviStart) {
        patches.push_back({fields.riffSize, uint32_t(fileLength - 8)});
        patches.push_back({fields.moviSize, uint32_t(fileLength - fields.moviStart)});
        patches.push_back({fields.mainHeaderFrames, count});
    }
    patches.push_back({fields.streamLength, count});
    if (fields.odmlFrames)
        patches.push_back({*fields.odmlFrames, count});
    return patches;
}

} // namespace vistrel
