#include "codec/image_type.h"

#include <gtest/gtest.h>

using namespace vistrel;

TEST(ImageType, ExtensionsAndReaderTypes)
{
    EXPECT_EQ(ImageTypeExtension(IMAGE_TYPE_ICO), ".ico");
    EXPECT_EQ(ImageTypeExtension(9), "");
    EXPECT_EQ(ImageTypeFromFileName("/a/Image000.PNG"), IMAGE_TYPE_PNG);
    EXPECT_EQ(ImageTypeFromFileName("x.jpeg"), -1); // only the last three characters count
    EXPECT_EQ(ImageTypeFromFileName("x.gif"), -1);
    EXPECT_EQ(ImageTypeFromFileName("tif"), IMAGE_TYPE_TIF);
    EXPECT_EQ(ImageTypeFromFileName("f"), -1);
}
