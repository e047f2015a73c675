// The .ico file: the layout written (the 1078-byte example), colour counts, PNG
// images kept byte for byte, reading back, hostile files, and writing that
// never replaces a file.
#include "icons/core/icon_resource.h"
#include "pe_fixture.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vistrel;
using namespace vistrel::test;

namespace {

IconResource IconOf(const std::vector<Bytes>& images)
{
    IconResource icon;
    for (const Bytes& b : images) {
        auto image = MakeIconImage(b);
        EXPECT_TRUE(image.has_value());
        if (image)
            icon.images.push_back(std::move(*image));
    }
    return icon;
}

Bytes SizeFieldZeroed(Bytes image)
{
    std::fill_n(image.begin() + 20, 4, uint8_t(0));
    return image;
}

bool Exists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

} // namespace

TEST(IconFile, TwoFourBitImagesMakeThe1078ByteLayout)
{
    const Bytes small = DibIconImage(16, 4), large = DibIconImage(32, 4, 9);
    ASSERT_EQ(small.size(), 296u);
    ASSERT_EQ(large.size(), 744u);
    const IconResource icon = IconOf({small, large});
    EXPECT_EQ(icon.images[0].width, 16u);
    EXPECT_EQ(icon.images[0].height, 16u);
    EXPECT_EQ(icon.images[0].colours, 4u);
    // Colour rows after header and 16-entry table; mask rows after 16 rows of 8 bytes.
    EXPECT_EQ(icon.images[0].ColourBitsOffset(), 104u);
    EXPECT_EQ(icon.images[0].MaskBitsOffset(), 232u);

    const auto file = IcoFileBytes(icon);
    ASSERT_TRUE(file.has_value());
    ASSERT_EQ(file->size(), 1078u);
    const Bytes header(file->begin(), file->begin() + 6);
    EXPECT_EQ(header, (Bytes {0, 0, 1, 0, 2, 0}));
    const Bytes entry0(file->begin() + 6, file->begin() + 22), entry1(file->begin() + 22, file->begin() + 38);
    EXPECT_EQ(entry0, (Bytes {16, 16, 16, 0, 1, 0, 4, 0, 0x28, 1, 0, 0, 38, 0, 0, 0}));
    EXPECT_EQ(entry1, (Bytes {32, 32, 16, 0, 1, 0, 4, 0, 0xE8, 2, 0, 0, 0x4E, 1, 0, 0}));
    EXPECT_EQ(Bytes(file->begin() + 38, file->begin() + 334), SizeFieldZeroed(small));
    EXPECT_EQ(Bytes(file->begin() + 334, file->end()), SizeFieldZeroed(large));
    // The record keeps its own image-size field.
    EXPECT_EQ(icon.images[0].data, small);
}

TEST(IconFile, ColourCountByteFollowsTheDepth)
{
    const IconResource icon = IconOf({DibIconImage(16, 1), DibIconImage(16, 8), DibIconImage(16, 24),
                                      DibIconImage(16, 32)});
    const auto file = IcoFileBytes(icon);
    ASSERT_TRUE(file.has_value());
    const uint8_t expected[] = {2, 0, 0, 0};
    const uint16_t depths[] = {1, 8, 24, 32};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ((*file)[6 + 16 * i + 2], expected[i]) << "image " << i;
        EXPECT_EQ((*file)[6 + 16 * i + 6], depths[i]) << "image " << i;
    }
}

TEST(IconFile, PngImagesKeepTheirBytesAndTakeSizeFromTheirHeader)
{
    const Bytes big = PngIconImage(256), small = PngIconImage(48, 3);
    const IconResource icon = IconOf({big, small, DibIconImage(32, 8)});
    EXPECT_TRUE(icon.images[0].isPng);
    EXPECT_EQ(icon.images[0].width, 256u);
    EXPECT_EQ(icon.images[0].height, 256u);
    EXPECT_EQ(icon.images[0].colours, 32u);
    EXPECT_EQ(icon.images[1].width, 48u);
    EXPECT_FALSE(icon.images[0].MaskBitsOffset().has_value());

    const auto file = IcoFileBytes(icon);
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ((*file)[6], 0); // 256 is written as 0
    EXPECT_EQ((*file)[7], 0);
    EXPECT_EQ((*file)[6 + 16], 48);
    EXPECT_EQ((*file)[6 + 16 + 6], 32); // bit count of RGBA
    const size_t at = 6 + 3 * 16;
    EXPECT_EQ(Bytes(file->begin() + ptrdiff_t(at), file->begin() + ptrdiff_t(at + big.size())), big);

    const auto back = ParseIcoFile(*file);
    ASSERT_TRUE(back.has_value());
    ASSERT_EQ(back->images.size(), 3u);
    EXPECT_EQ(back->images[0].data, big);
    EXPECT_EQ(back->images[1].data, small);
    EXPECT_EQ(back->images[2].data, SizeFieldZeroed(DibIconImage(32, 8)));
    EXPECT_EQ(back->images[2].colours, 8u);
}

TEST(IconFile, WrittenFileReadsBackAndHasZeroImageSizes)
{
    TempHome home;
    const IconResource icon = IconOf({DibIconImage(16, 4), DibIconImage(32, 32, 5), PngIconImage(64)});
    const std::string path = home.file("back.ico");
    ASSERT_EQ(WriteIconToIcoFile(icon, path), IconWriteResult::Written);
    const auto back = ReadIconFromIcoFile(path);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->icoFileName, path);
    EXPECT_TRUE(back->moduleFileName.empty());
    ASSERT_EQ(back->images.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        const IconImage &a = icon.images[i], &b = back->images[i];
        EXPECT_EQ(std::tie(a.width, a.height, a.colours, a.isPng), std::tie(b.width, b.height, b.colours, b.isPng));
        EXPECT_EQ(b.data, a.isPng ? a.data : SizeFieldZeroed(a.data));
    }
    // A file with no images is still an icon file.
    const auto empty = ParseIcoFile(Bytes {0, 0, 1, 0, 0, 0});
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->images.empty());
}

TEST(IconFile, HostileFilesAreRefused)
{
    const auto whole = IcoFileBytes(IconOf({DibIconImage(16, 4), PngIconImage(32)}));
    ASSERT_TRUE(whole.has_value());
    for (size_t cut = 0; cut < whole->size(); ++cut)
        EXPECT_FALSE(ParseIcoFile(std::span(whole->data(), cut)).has_value()) << "cut at " << cut;

    auto damaged = [&](auto change) {
        Bytes b = *whole;
        change(b);
        return ParseIcoFile(b).has_value();
    };
    EXPECT_FALSE(damaged([](Bytes& b) { b[0] = 1; }));                // reserved
    EXPECT_FALSE(damaged([](Bytes& b) { b[2] = 2; }));                // a cursor file
    EXPECT_FALSE(damaged([](Bytes& b) { b[4] = 0xFF, b[5] = 0xFF; })); // 65535 entries in a small file
    EXPECT_FALSE(damaged([](Bytes& b) { Put32(b, 6 + 12, 0xFFFFFFF0u); }));     // image outside
    EXPECT_FALSE(damaged([](Bytes& b) { Put32(b, 6 + 8, 0x7FFFFFFFu); }));      // huge size
    EXPECT_FALSE(damaged([](Bytes& b) { Put32(b, 22 + 12, Get32(b, 6 + 12)); })); // same bytes twice
    EXPECT_FALSE(damaged([](Bytes& b) { Put32(b, 22 + 12, Get32(b, 6 + 12) + 100); })); // overlapping
    EXPECT_FALSE(damaged([](Bytes& b) { b[38] = 12; })); // an old 12-byte bitmap header
    EXPECT_FALSE(damaged([](Bytes& b) { Put32(b, 6 + 8, 0); }));               // empty image
}

TEST(IconFile, ReadingRefusesWhatIsNotARegularFileOrTooLarge)
{
    TempHome home;
    const std::string pipe = home.file("pipe.ico");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(ReadIconFromIcoFile(pipe).has_value()); // and does not wait for a writer
    EXPECT_FALSE(ReadIconFromIcoFile(home.path()).has_value());
    EXPECT_FALSE(ReadIconFromIcoFile(home.file("missing.ico")).has_value());
    // A sparse file larger than any icon: refused before it is read.
    const std::string big = home.file("big.ico");
    WriteFile(big, *IcoFileBytes(IconOf({DibIconImage(16, 4)})));
    ASSERT_EQ(::truncate(big.c_str(), off_t(kMaxIcoFileBytes + 1)), 0);
    EXPECT_FALSE(ReadIconFromIcoFile(big).has_value());
}

TEST(IconFile, WritingNeverReplacesAndLeavesNothingHalfWritten)
{
    TempHome home;
    const IconResource icon = IconOf({DibIconImage(16, 4)});
    const std::string path = home.file("taken.ico");
    WriteFile(path, Bytes {'o', 'l', 'd'});
    EXPECT_EQ(WriteIconToIcoFile(icon, path), IconWriteResult::Exists);
    EXPECT_EQ(std::filesystem::file_size(path), 3u);

    // Not through a link either, even one that leads nowhere yet.
    const std::string link = home.file("link.ico"), target = home.file("target.ico");
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    EXPECT_EQ(WriteIconToIcoFile(icon, link), IconWriteResult::Exists);
    EXPECT_FALSE(Exists(target));

    EXPECT_EQ(WriteIconToIcoFile(icon, home.file("no/such/folder.ico")), IconWriteResult::Failed);
    IconResource broken;
    broken.images.push_back(IconImage {}); // no bytes at all: not an image
    EXPECT_EQ(WriteIconToIcoFile(broken, home.file("broken.ico")), IconWriteResult::Failed);
    EXPECT_FALSE(Exists(home.file("broken.ico")));

    // A write that fails part way (here: over the file-size limit) removes the
    // partial file. In a child, so the limit stays there.
    const std::string partial = home.file("partial.ico");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit {100, 100};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(WriteIconToIcoFile(icon, partial) == IconWriteResult::Failed ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_FALSE(Exists(partial));
}
