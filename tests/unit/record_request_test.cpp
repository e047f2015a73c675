// The recording options as they come from outside: the command line's words
// and the ranges every recording checks.

#include "record/core/record_request.h"

#include <gtest/gtest.h>

using namespace vistrel;

namespace {

const std::vector<FourCC> kInstalled{MakeFourCC('M', 'J', 'P', 'G'), MakeFourCC('D', 'I', 'B', ' '), kFourCCMsvc};
const FourCC kDefault = MakeFourCC('M', 'J', 'P', 'G');

std::optional<RecordRequest> Parse(RecordWords words, std::string* errorOut = nullptr)
{
    std::string error;
    auto request = ParseRecordRequest(words, kInstalled, kDefault, error);
    if (errorOut)
        *errorOut = error;
    EXPECT_EQ(request.has_value(), error.empty()) << error;
    return request;
}

RecordWords Area(std::string x, std::string y, std::string w, std::string h)
{
    return RecordWords{{"area", x, y, w, h}, {}, {}, {}, {}};
}

} // namespace

TEST(RecordRequest, GoodRequests)
{
    auto full = Parse({{"fullscreen"}, {}, {}, {}, {}});
    ASSERT_TRUE(full);
    EXPECT_TRUE(full->fullScreen);
    EXPECT_FALSE(full->seconds);
    EXPECT_EQ(full->options.compressorFourCC, kDefault);
    EXPECT_EQ(full->options.captureIntervalMs, 50);
    EXPECT_EQ(full->options.playbackFps, 20);

    RecordWords words = Area("-5", "+7", "101", "75");
    words.seconds = "2.5";
    words.codec = "DIB"; // padded with a blank
    words.rate = "30";
    words.quality = "100";
    auto area = Parse(words);
    ASSERT_TRUE(area);
    EXPECT_EQ(area->region, (RecordRegion{-5, 7, 95, 81}));
    EXPECT_EQ(area->seconds, 2.5);
    EXPECT_EQ(FourCCText(area->options.compressorFourCC), "DIB ");
    EXPECT_EQ(area->options.playbackFps, 30);
    EXPECT_EQ(area->options.captureIntervalMs, 0); // grabbed at the rate it plays back
    EXPECT_EQ(area->options.quality, 10000);
    EXPECT_EQ(CheckRecordOptions(area->options), "");
}

TEST(RecordRequest, HostileWordsAreRefusedWithAReason)
{
    const std::vector<std::vector<std::string>> areas{
        {},
        {"window"},
        {"fullscreen", "1"},
        {"area", "0", "0", "10"},
        {"area", "0", "0", "10", "10", "10"},
        {"area", "0", "0", "0", "5"},      // empty
        {"area", "0", "0", "5", "-5"},     // empty
        {"area", "1x", "0", "5", "5"},     // trailing text
        {"area", "", "0", "5", "5"},
        {"area", "+", "0", "5", "5"},
        {"area", "0x10", "0", "5", "5"},   // no hex
        {"area", "1e3", "0", "5", "5"},
        {"area", " 1", "0", "5", "5"},
        {"area", "99999999999999999999", "0", "5", "5"}, // overflows int64
        {"area", "2147483647", "0", "10", "10"},         // right corner beyond int
        {"area", "0", "-2147483648", "5", "2147483647"}, // fits: bottom = -2
    };
    for (size_t i = 0; i < areas.size(); ++i) {
        std::string error;
        const auto request = Parse({areas[i], {}, {}, {}, {}}, &error);
        if (i + 1 == areas.size()) {
            EXPECT_TRUE(request) << error;
            continue;
        }
        EXPECT_FALSE(request) << "case " << i;
        EXPECT_FALSE(error.empty());
    }

    const std::vector<std::string> badSeconds{"0", "-1", "nan", "inf", "1e400", "", "5s", "0x5", "1e9999", "-0"};
    for (const std::string& s : badSeconds) {
        RecordWords words{{"fullscreen"}, s, {}, {}, {}};
        EXPECT_FALSE(Parse(words)) << s;
    }
    const std::vector<std::string> badCodecs{"mjpg", "DIVX", "MJPGX", "", "M\tPG", "\xc3\xa9"};
    for (const std::string& c : badCodecs) {
        RecordWords words{{"fullscreen"}, {}, c, {}, {}};
        std::string error;
        EXPECT_FALSE(Parse(words, &error)) << c;
        EXPECT_NE(error.find("--list-codecs"), std::string::npos);
    }
    for (const char* r : {"0", "201", "-20", "20.5", "twenty"}) {
        RecordWords words{{"fullscreen"}, {}, {}, r, {}};
        EXPECT_FALSE(Parse(words)) << r;
    }
    for (const char* q : {"101", "-1", "6500", "50%"}) {
        RecordWords words{{"fullscreen"}, {}, {}, {}, q};
        EXPECT_FALSE(Parse(words)) << q;
    }
}

TEST(RecordOptions, RangesAndCodes)
{
    AviRecordOptions o;
    EXPECT_EQ(CheckRecordOptions(o), "");
    o.captureIntervalMs = 0;
    EXPECT_EQ(CheckRecordOptions(o), "");
    o.captureIntervalMs = 7200000;
    EXPECT_EQ(CheckRecordOptions(o), "");
    o.captureIntervalMs = 7200001;
    EXPECT_NE(CheckRecordOptions(o).find("captureIntervalMs"), std::string::npos);
    o = {};
    o.captureIntervalMs = -1;
    EXPECT_NE(CheckRecordOptions(o), "");
    o = {};
    o.keyFrameEvery = 0;
    EXPECT_NE(CheckRecordOptions(o).find("keyFrameEvery is 0"), std::string::npos);
    o = {};
    o.playbackFps = 201;
    EXPECT_NE(CheckRecordOptions(o).find("playbackFps is 201"), std::string::npos);
    o = {};
    o.quality = 10001;
    EXPECT_NE(CheckRecordOptions(o), "");

    EXPECT_EQ(ParseFourCC("MSVC"), kFourCCMsvc);
    EXPECT_EQ(FourCCText(kFourCCMsvc), "MSVC");
    EXPECT_EQ(kFourCCMsvc, 0x4356534Du); // bytes in file order, first lowest
    EXPECT_FALSE(ParseFourCC(std::string("MS\0C", 4)));
}
