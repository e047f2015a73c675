// The shared thumbnail cache: its names (MD5 of the file's URI), its entries
// (valid by modification time), and the picture maker that uses it.
#include "base/canonical_path.h"
#include "base/path_names.h"
#include "codec/byte_sink.h"
#include "codec/decode.h"
#include "codec/encode.h"
#include "codec/file_io.h"
#include "library/core/md5.h"
#include "library/core/thumbnail_cache.h"
#include "library/core/thumbnail_maker.h"
#include "file_text.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

namespace vistrel {
namespace {

using test::TempHome;
using test::WriteText;

void WritePicture(const std::string& path, const Bitmap& picture, cximage_type type)
{
    VectorSink sink;
    ASSERT_TRUE(EncodeImage(picture, false, type, sink));
    ASSERT_TRUE(WriteThroughSink(path, [&](ByteSink& out) { return out.Write(sink.bytes().data(), sink.bytes().size()); }));
}

void SetMtime(const std::string& path, time_t seconds)
{
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST(Md5, KnownDigests)
{
    EXPECT_EQ(Md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(Md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(Md5Hex("12345678901234567890123456789012345678901234567890123456789012345678901234567890"),
              "57edf4a22be3c955ac49da2e2107b67a");
    EXPECT_EQ(Md5Hex(std::string(56, 'a')), Md5Hex(std::string(56, 'a'))); // the two-block tail
    EXPECT_EQ(Md5Hex("The quick brown fox jumps over the lazy dog"), "9e107d9d372bb6826bd81d3542a419d6");
}

TEST(ThumbnailCache, UriSpelledAsOtherProgramsSpellIt)
{
    EXPECT_EQ(FileUri("/home/jens/photos/me.png"), "file:///home/jens/photos/me.png");
    EXPECT_EQ(FileUri("/tmp/a b#c%d?.png"), "file:///tmp/a%20b%23c%25d%3F.png");
    EXPECT_EQ(FileUri("/tmp/caf\xc3\xa9.png"), "file:///tmp/caf%C3%A9.png");
    EXPECT_EQ(FileUri("/tmp/x!$&'()*+,=:@~_-.png"), "file:///tmp/x!$&'()*+,=:@~_-.png");
    // The freedesktop.org example.
    EXPECT_EQ(Md5Hex(FileUri("/home/jens/photos/me.png")), "c6ee772d9e49320e97ec29a7eb5b1697");
}

TEST(ThumbnailCache, StoredEntryIsFoundByTheSameTime)
{
    TempHome home;
    const ThumbnailCache cache(home.file("cache/thumbnails/normal"));
    const Bitmap picture(128, 72, MakeArgb(10, 20, 30));
    ASSERT_TRUE(cache.Store("/some/file.png", 1234, 99, picture, 1920, 1080));
    const auto entry = cache.Lookup("/some/file.png", 1234);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->picture.width, 128);
    EXPECT_EQ(entry->picture.at(5, 5), MakeArgb(10, 20, 30));
    EXPECT_EQ(entry->sourceWidth, 1920);
    EXPECT_EQ(entry->sourceHeight, 1080);
    EXPECT_FALSE(cache.Lookup("/some/file.png", 1235)); // the file changed since
    EXPECT_FALSE(cache.Lookup("/other/file.png", 1234));
    struct stat st {};
    ASSERT_EQ(stat(home.file("cache/thumbnails/normal").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_EQ(stat(cache.EntryPath("/some/file.png").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(ThumbnailCache, EntryIsAPngWithTheKeyInTextChunks)
{
    TempHome home;
    const ThumbnailCache cache(home.path());
    ASSERT_TRUE(cache.Store("/a b.png", 42, 7, Bitmap(10, 10), 10, 10));
    const auto bytes = ReadWholeFile(cache.EntryPath("/a b.png").c_str(), 1 << 20);
    ASSERT_TRUE(bytes);
    const std::string text(bytes->begin(), bytes->end());
    EXPECT_NE(text.find(std::string("tEXtThumb::URI\0file:///a%20b.png", 32)), std::string::npos);
    EXPECT_NE(text.find(std::string("tEXtThumb::MTime\0" "42", 19)), std::string::npos);
    EXPECT_TRUE(DecodeImage(*bytes, IMAGE_TYPE_PNG)); // still a valid PNG: the chunks' CRCs hold
}

TEST(ThumbnailCache, BrokenOrForeignEntriesMiss)
{
    TempHome home;
    const ThumbnailCache cache(home.path());
    WriteText(cache.EntryPath("/x.png"), "not a png");
    EXPECT_FALSE(cache.Lookup("/x.png", 1));
    EXPECT_FALSE(ThumbnailCache("").Lookup("/x.png", 1));
    EXPECT_FALSE(ThumbnailCache("").Store("/x.png", 1, 1, Bitmap(1, 1), 1, 1));
    EXPECT_FALSE(cache.Store("/x.png", 1, 1, Bitmap(200, 10), 200, 10)); // too large for the cache
}

TEST(PictureThumbnailMaker, SecondMakeComesFromTheCache)
{
    TempHome home;
    const ThumbnailCache cache(home.file("thumbs"));
    const std::string file = home.file("shot.png");
    WritePicture(file, Bitmap(1000, 500, MakeArgb(0, 128, 0)), IMAGE_TYPE_PNG);
    SetMtime(file, 1000000);
    PictureThumbnailMaker maker({}, &cache);
    const auto first = maker.Make(file);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->at(2, 21), MakeArgb(0, 128, 0));
    EXPECT_EQ(first->at(2, 20), MakeArgb(255, 255, 255));
    ASSERT_TRUE(cache.Lookup(CanonicalPath(file), 1000000));

    // Same time, other content: the cache answers, the file is not decoded.
    WritePicture(file, Bitmap(1000, 500, MakeArgb(200, 0, 0)), IMAGE_TYPE_PNG);
    SetMtime(file, 1000000);
    const auto second = maker.Make(file);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->pixels, first->pixels);
}

TEST(PictureThumbnailMaker, StaleEntryIsRebuilt)
{
    TempHome home;
    const ThumbnailCache cache(home.file("thumbs"));
    const std::string file = home.file("shot.png");
    WritePicture(file, Bitmap(300, 300, MakeArgb(0, 0, 255)), IMAGE_TYPE_PNG);
    SetMtime(file, 1000000);
    PictureThumbnailMaker maker({}, &cache);
    ASSERT_TRUE(maker.Make(file));

    WritePicture(file, Bitmap(300, 300, MakeArgb(255, 255, 0)), IMAGE_TYPE_PNG);
    SetMtime(file, 1000500);
    const auto rebuilt = maker.Make(file);
    ASSERT_TRUE(rebuilt);
    EXPECT_EQ(rebuilt->at(60, 50), MakeArgb(255, 255, 0));
    EXPECT_TRUE(cache.Lookup(CanonicalPath(file), 1000500));
    EXPECT_FALSE(cache.Lookup(CanonicalPath(file), 1000000));
}

TEST(PictureThumbnailMaker, MissingUndecodableAndOtherFiles)
{
    TempHome home;
    PictureThumbnailMaker maker({}, nullptr);
    EXPECT_FALSE(maker.Make(home.file("gone.png")));
    const std::string broken = home.file("broken.jpg");
    WriteText(broken, "\xff\xd8garbage");
    EXPECT_FALSE(maker.Make(broken));
    // A file of another type gets the empty frame.
    const std::string gif = home.file("x.gif");
    WritePicture(gif, Bitmap(10, 10), IMAGE_TYPE_GIF);
    const auto frame = maker.Make(gif);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->pixels, MakeThumbnailFrame(ThumbnailColours{}.buttonFace, ThumbnailColours{}.buttonShadow).pixels);
}

TEST(ReducedJpegDecoding, DecodesAtTheSmallestScaleThatCovers)
{
    Bitmap picture(1920, 1080, MakeArgb(40, 90, 200));
    VectorSink sink;
    ASSERT_TRUE(EncodeImage(picture, false, IMAGE_TYPE_JPG, sink));
    const auto small = DecodeImageToCover(sink.bytes(), IMAGE_TYPE_JPG, 128, 128);
    ASSERT_TRUE(small);
    EXPECT_EQ(small->bitmap.width, 240); // 1/8
    EXPECT_EQ(small->bitmap.height, 135);
    EXPECT_EQ(small->fileWidth, 1920);
    EXPECT_EQ(small->fileHeight, 1080);
    EXPECT_NEAR(RedOf(small->bitmap.at(100, 60)), 40, 3);
    EXPECT_NEAR(BlueOf(small->bitmap.at(100, 60)), 200, 3);
    // Not below what is asked for: 1/4 covers 300 wide, 1/8 would not.
    const auto medium = DecodeImageToCover(sink.bytes(), IMAGE_TYPE_JPG, 300, 100);
    ASSERT_TRUE(medium);
    EXPECT_EQ(medium->bitmap.width, 480);
    const auto whole = DecodeImage(sink.bytes(), IMAGE_TYPE_JPG);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->bitmap.width, 1920);
    EXPECT_EQ(whole->fileWidth, 1920);
}

} // namespace
} // namespace vistrel
