// Finding the AVI header's open sizes and frame counts, and what is written
// there while recording, so a killed recording still plays.

#include "record/core/avi_header_patch.h"

#include <gtest/gtest.h>

#include <string>

using namespace vistrel;

namespace {

class Builder {
public:
    std::string bytes;
    void Tag(const char* t) { bytes.append(t, 4); }
    void U32(uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(char(v >> (8 * i)));
    }
    // A chunk whose data are `size` bytes of filler; returns the data's offset.
    size_t Chunk(const char* id, uint32_t size)
    {
        Tag(id);
        U32(size);
        const size_t at = bytes.size();
        bytes.append(size + (size & 1), '\0');
        return at;
    }
    size_t ListStart(const char* type, uint32_t size)
    {
        Tag("LIST");
        U32(size);
        Tag(type);
        return bytes.size();
    }
};

struct Header {
    std::string bytes;
    size_t avih = 0, strh = 0, dmlh = 0, movi = 0;
};

// As the muxer lays it out: hdrl (avih, strl (strh, strf, JUNK), odml (dmlh)), JUNK, movi.
Header MakeHeader(bool odml = true)
{
    Builder b;
    Header h;
    b.Tag("RIFF");
    b.U32(0xFFFFFFFF);
    b.Tag("AVI ");
    const uint32_t strl = 4 + (8 + 56) + (8 + 40) + (8 + 100);
    const uint32_t odmlList = odml ? 12 + 8 + 248 : 0;
    b.ListStart("hdrl", 4 + (8 + 56) + (8 + strl) + odmlList);
    h.avih = b.Chunk("avih", 56);
    b.ListStart("strl", strl);
    h.strh = b.Chunk("strh", 56);
    b.Chunk("strf", 40);
    b.Chunk("JUNK", 100);
    if (odml) {
        b.ListStart("odml", 4 + 8 + 248);
        h.dmlh = b.Chunk("dmlh", 248);
    }
    b.Chunk("JUNK", 17); // odd: padded
    b.Tag("LIST");
    b.U32(0xFFFFFFFF);
    h.movi = b.bytes.size();
    b.Tag("movi");
    b.bytes += std::string("00dc\0\0\0\0", 8);
    h.bytes = b.bytes;
    return h;
}

std::span<const uint8_t> Span(const std::string& s, size_t length)
{
    return {reinterpret_cast<const uint8_t*>(s.data()), length};
}

} // namespace

TEST(AviHeaderPatch, FindsTheOpenFields)
{
    const Header h = MakeHeader();
    const auto fields = LocateAviHeaderFields(Span(h.bytes, h.bytes.size()));
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->riffSize, 4u);
    EXPECT_EQ(fields->mainHeaderFrames, h.avih + 16);
    EXPECT_EQ(fields->streamLength, h.strh + 32);
    EXPECT_EQ(fields->odmlFrames, h.dmlh);
    EXPECT_EQ(fields->moviSize, h.movi - 4);
    EXPECT_EQ(fields->moviStart, h.movi);

    const Header plain = MakeHeader(false);
    const auto noOdml = LocateAviHeaderFields(Span(plain.bytes, plain.bytes.size()));
    ASSERT_TRUE(noOdml);
    EXPECT_FALSE(noOdml->odmlFrames);
}

TEST(AviHeaderPatch, CutOrDamagedHeadersAreRefused)
{
    const Header h = MakeHeader();
    // Every length that stops before the list type "movi" is whole.
    for (size_t length = 0; length < h.movi + 4; ++length)
        EXPECT_FALSE(LocateAviHeaderFields(Span(h.bytes, length))) << length;
    EXPECT_TRUE(LocateAviHeaderFields(Span(h.bytes, h.movi + 4)));

    std::string bad = h.bytes;
    bad[8] = 'W'; // "WVI ": not an AVI
    EXPECT_FALSE(LocateAviHeaderFields(Span(bad, bad.size())));
    // The hdrl list, or its avih chunk, claims far more than there is.
    for (size_t at : {size_t(16), h.avih - 4}) {
        bad = h.bytes;
        bad[at] = bad[at + 1] = bad[at + 2] = char(0xFF);
        bad[at + 3] = char(0x7F);
        EXPECT_FALSE(LocateAviHeaderFields(Span(bad, bad.size()))) << at;
    }
}

TEST(AviHeaderPatch, PatchesFollowTheFileAndStopAtTheFirstRiffLimit)
{
    const Header h = MakeHeader();
    const AviHeaderFields fields = *LocateAviHeaderFields(Span(h.bytes, h.bytes.size()));
    const auto patches = AviProgressPatches(fields, 100000, 42);
    EXPECT_EQ(patches, (std::vector<AviPatch>{{4, 100000 - 8},
                                              {fields.moviSize, uint32_t(100000 - h.movi)},
                                              {fields.mainHeaderFrames, 42},
                                              {fields.streamLength, 42},
                                              {*fields.odmlFrames, 42}}));
    // Past the first RIFF chunk's size the muxer has closed it: counts only.
    const auto late = AviProgressPatches(fields, uint64_t(3) << 30, 70000);
    EXPECT_EQ(late, (std::vector<AviPatch>{{fields.streamLength, 70000}, {*fields.odmlFrames, 70000}}));
}
