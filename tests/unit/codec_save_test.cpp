// Saving replaces a file only after a complete write; failures report 0, keep
// the old file and leave no temporary file behind.
#include "codec/image.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

using namespace vistrel;
namespace fs = std::filesystem;

namespace {

std::string ReadText(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class CodecSave : public ::testing::Test {
protected:
    void SetUp() override
    {
        char name[] = "/tmp/codec_save_XXXXXX";
        m_dir = mkdtemp(name);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    size_t FileCount() const { return size_t(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator())); }

    fs::path m_dir;
};

} // namespace

TEST_F(CodecSave, FailuresReturnZeroAndKeepTheOldFile)
{
    const CImage image(Bitmap(20, 10, MakeArgb(1, 2, 3)), 24);
    EXPECT_EQ(image.Save((m_dir / "missing" / "a.png").c_str(), IMAGE_TYPE_PNG), 0);
    fs::create_directory(m_dir / "folder");
    EXPECT_EQ(image.Save((m_dir / "folder").c_str(), IMAGE_TYPE_PNG), 0);
    EXPECT_TRUE(fs::is_directory(m_dir / "folder"));
    EXPECT_EQ(image.Save("", IMAGE_TYPE_PNG), 0);
    EXPECT_EQ(image.Save(nullptr, IMAGE_TYPE_PNG), 0);

    const fs::path target = m_dir / "old.png";
    std::ofstream(target) << "old content";
    // An unknown type fails in the encoder, after the temporary file exists.
    EXPECT_EQ(image.Save(target.c_str(), cximage_type(42)), 0);
    EXPECT_EQ(ReadText(target), "old content");
    // An image that holds nothing writes nothing.
    EXPECT_EQ(CImage().Save(target.c_str(), IMAGE_TYPE_BMP), 0);
    EXPECT_EQ(ReadText(target), "old content");
    EXPECT_EQ(FileCount(), 2u); // "folder" and "old.png", no temporary files

    // A full disk, played by a file size limit: the write fails part way.
    const CImage big(Bitmap(300, 300, MakeArgb(5, 5, 5)), 24);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int32_t result = big.Save(target.c_str(), IMAGE_TYPE_BMP);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadText(target), "old content");
    EXPECT_EQ(FileCount(), 2u);

    ASSERT_NE(big.Save(target.c_str(), IMAGE_TYPE_BMP), 0);
    EXPECT_EQ(CImage(target.c_str(), IMAGE_TYPE_BMP).bitmap().pixels, big.bitmap().pixels);
    EXPECT_EQ(FileCount(), 2u);
}

TEST_F(CodecSave, ImageLifecycle)
{
    CImage empty;
    EXPECT_FALSE(empty.IsValid());
    EXPECT_EQ(empty.MakeBitmap(), nullptr);
    EXPECT_FALSE(CImage((m_dir / "none.png").c_str(), IMAGE_TYPE_PNG).IsValid());
    EXPECT_FALSE(CImage(m_dir.c_str(), IMAGE_TYPE_PNG).IsValid()); // a folder
    EXPECT_FALSE(CImage(Bitmap(), 24).IsValid());

    Bitmap pixels(3, 2, MakeArgb(9, 8, 7));
    CImage image(pixels, 24);
    ASSERT_TRUE(image.IsValid());
    const auto copy = image.MakeBitmap();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->pixels, pixels.pixels);

    const fs::path path = m_dir / "x.bmp";
    ASSERT_NE(image.Save(path.c_str(), IMAGE_TYPE_BMP), 0);
    CImage loaded(path.c_str(), IMAGE_TYPE_BMP);
    EXPECT_EQ(loaded.GetBpp(), 24);
    CImage duplicate(loaded);
    loaded.Close();
    EXPECT_FALSE(loaded.IsValid());
    EXPECT_EQ(loaded.MakeBitmap(), nullptr);
    EXPECT_EQ(duplicate.GetWidth(), 3); // copies are independent
    // The wrong decoder for a file gives nothing.
    EXPECT_FALSE(CImage(path.c_str(), IMAGE_TYPE_PNG).IsValid());
}
