#include "settings/env.h"
#include "settings/settings_fields.h"
#include "settings/settings_file.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

using namespace vistrel;
using vistrel::test::TempHome;

namespace {

std::vector<uint8_t> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
}

std::string Json(const CEnv& env, const std::string& lang) { return SettingsToJson(env, lang, {}); }

CEnv Customised()
{
    CEnv env;
    env.m_strBitmapPath = "/tmp/pictures";
    env.m_crBitmapBack = 0x00112233;
    env.m_hkTimer = {MOD_ALT, 0x41};
    env.m_bHideSelf = 0;
    env.m_bReserved3 = 0;
    env.m_nBitmapNumber = -3;
    env.m_strAviName = "Film";
    env.m_bitmapTools = {{"Gimp", "/usr/bin/gimp", 1}, {"Pinta", "/usr/bin/pinta", 0}};
    env.m_nCaptureType = 5;
    return env;
}

} // namespace

std::vector<std::string_view> WantedLists(const SettingsReadResult& r)
{
    std::vector<std::string_view> names;
    for (const SettingsField* f : r.defaultToolWanted)
        names.push_back(f->name);
    return names;
}

TEST(SettingsFile, RoundTripKeepsEveryFieldAndAsksForDefaultsOfEmptyToolLists)
{
    TempHome home;
    CEnv written = Customised();
    std::vector<uint8_t> bytes = SerializeSettings(written, "/lang/x.ini");

    CEnv read;
    std::string lang;
    SettingsReadResult r = DeserializeSettings(bytes, read, lang);
    ASSERT_TRUE(r.complete) << r.error;
    // The empty list is read as it is; its default entry is asked for, not made here.
    EXPECT_EQ(WantedLists(r), (std::vector<std::string_view>{"m_aviTools"}));
    EXPECT_EQ(Json(read, lang), Json(written, "/lang/x.ini"));

    // The bytes themselves start with the signature and store the permuted type.
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 7),
              (std::vector<uint8_t>{6, 'c', 'o', 'n', 'f', 'i', 'g'}));
}

TEST(SettingsFile, LayoutOfKnownFields)
{
    TempHome home;
    CEnv env;
    env.m_strBitmapPath = "";
    env.m_nCaptureType = 2;
    std::vector<uint8_t> bytes = SerializeSettings(env, "");
    EXPECT_EQ(bytes[7], 0); // empty bitmap folder is one zero byte
    // The image type is the 32-bit value before the final (empty) language string.
    ASSERT_GE(bytes.size(), 5u);
    EXPECT_EQ(bytes[bytes.size() - 5], 3); // JPEG is stored as 3
    EXPECT_EQ(bytes.back(), 0);

    CEnv read;
    std::string lang = "unchanged";
    ASSERT_TRUE(DeserializeSettings(bytes, read, lang).complete);
    EXPECT_EQ(read.m_strBitmapPath, CEnv().m_strBitmapPath); // empty keeps the default
    EXPECT_EQ(read.m_nCaptureType, 2);
    EXPECT_EQ(DecodeCaptureType(7), 0);
    EXPECT_EQ(EncodeCaptureType(9), 0);
    for (int t = 0; t < 6; ++t)
        EXPECT_EQ(DecodeCaptureType(EncodeCaptureType(t)), t);
}

TEST(SettingsFile, FolderBlanksTrimmedAndToolCounts)
{
    TempHome home;
    CEnv env;
    env.m_strAviPath = "  /data/videos \t";
    env.m_bitmapTools = {{"A", "/a", 0}, {"B", "/b", 1}};
    std::vector<uint8_t> bytes = SerializeSettings(env, "");
    CEnv read;
    std::string lang;
    SettingsReadResult r = DeserializeSettings(bytes, read, lang);
    ASSERT_TRUE(r.complete);
    EXPECT_EQ(read.m_strAviPath, "/data/videos");
    ASSERT_EQ(read.m_bitmapTools.size(), 2u); // stored entries, no default asked for
    EXPECT_EQ(read.m_bitmapTools[1], (ToolEntry{"B", "/b", 1}));
    EXPECT_EQ(WantedLists(r), (std::vector<std::string_view>{"m_aviTools"}));
}

// One rule per kind of field: a value --set refuses is never taken from a file
// either (the field keeps its default there), and one --set accepts is read back.
TEST(SettingsFile, ReaderTakesExactlyWhatSetAccepts)
{
    TempHome home;
    const CEnv defaults;
    auto check = [&](std::string_view name, const std::string& setText, auto put, auto get) {
        CEnv written;
        put(written);
        std::vector<uint8_t> bytes = SerializeSettings(written, "/lang/after.ini");
        CEnv read;
        std::string lang;
        SettingsReadResult r = DeserializeSettings(bytes, read, lang);
        // An invalid value is passed over; the fields behind it are still read.
        EXPECT_TRUE(r.complete) << name << "=" << setText;
        EXPECT_EQ(lang, "/lang/after.ini");
        CEnv viaSet;
        std::string setLang;
        const bool accepted = !SetSettingsField(viaSet, setLang, std::string(name) + "=" + setText);
        // Taken as --set takes it (folders trimmed), or left at the default.
        EXPECT_EQ(get(read), accepted ? get(viaSet) : get(defaults)) << name << "=" << setText;
    };

    const std::string folders[] = {"/data/pics", "  /data/pics \t", "/", "", "   ", "pics", "./pics",
                                   "~/pics", "/data/a\nb", "/data/\x7f", std::string("/tmp\0/x", 7)};
    for (const auto& folder : folders)
        check("m_strAviPath", folder, [&](CEnv& e) { e.m_strAviPath = folder; },
              [](const CEnv& e) { return e.m_strAviPath; });

    const std::string names[] = {"Shot", "", "a b", "..", "caf\xC3\xA9", "../../x", "a/b", "/", "a\tb",
                                 "x\x7f", "\x1b[31m", std::string("a\0b", 3)};
    for (const auto& name : names) {
        check("m_strBitmapName", name, [&](CEnv& e) { e.m_strBitmapName = name; },
              [](const CEnv& e) { return e.m_strBitmapName; });
        check("m_strAviSuffix", name, [&](CEnv& e) { e.m_strAviSuffix = name; },
              [](const CEnv& e) { return e.m_strAviSuffix; });
    }

    for (uint32_t color : {0u, 0xFFFFFFu, 0x1000000u, 0xFFFFFFFFu})
        check("m_crPreviewBack", std::to_string(color), [&](CEnv& e) { e.m_crPreviewBack = color; },
              [](const CEnv& e) { return e.m_crPreviewBack; });

    for (int32_t flag : {0, 1, 2, -1})
        check("m_bAutorun", std::to_string(flag), [&](CEnv& e) { e.m_bAutorun = flag; },
              [](const CEnv& e) { return e.m_bAutorun; });

    const HotkeySetting keys[] = {{0, 0}, {7, 0xFF}, {8, 0x41}, {1, 0x100}, {0xFFFFFFFF, 1}};
    for (const HotkeySetting& key : keys)
        check("m_hkObject", std::to_string(key.modifiers) + "," + std::to_string(key.virtualKey),
              [&](CEnv& e) { e.m_hkObject = key; },
              [](const CEnv& e) { return std::pair(e.m_hkObject.modifiers, e.m_hkObject.virtualKey); });
}

TEST(SettingsFile, LoadGivesAnEmptyToolListTheDesktopsDefaultProgram)
{
    TempHome home;
    // A desktop whose only default is a video player.
    std::filesystem::create_directories(home.file("bin"));
    std::filesystem::create_directories(home.file("share/applications"));
    const std::string script = "#!/bin/sh\n[ \"$3\" = video/x-msvideo ] && echo player.desktop && exit 0\nexit 4\n";
    WriteFile(home.file("bin/xdg-mime"), std::vector<uint8_t>(script.begin(), script.end()));
    std::filesystem::permissions(home.file("bin/xdg-mime"), std::filesystem::perms::owner_all);
    const std::string entry = "[Desktop Entry]\nName=Movie Player\nExec=mplay --fs %U\n";
    WriteFile(home.file("share/applications/player.desktop"), std::vector<uint8_t>(entry.begin(), entry.end()));
    const char* oldPath = std::getenv("PATH");
    const std::string savedPath = oldPath ? oldPath : "";
    setenv("PATH", (home.file("bin") + ":/usr/bin:/bin").c_str(), 1);
    setenv("XDG_DATA_DIRS", home.file("share").c_str(), 1);

    CEnv written;
    written.m_bitmapTools = {{"Mine", "/opt/mine", 1}};
    WriteFile(home.file("capture.cfg"), SerializeSettings(written, ""));
    CEnv env;
    env.Load(false);
    setenv("PATH", savedPath.c_str(), 1);
    unsetenv("XDG_DATA_DIRS");

    EXPECT_EQ(env.m_bitmapTools, written.m_bitmapTools); // stored entries only
    ASSERT_EQ(env.m_aviTools.size(), 1u);
    EXPECT_EQ(env.m_aviTools[0], (ToolEntry{"Movie Player", "mplay --fs %U", 1}));
}

TEST(SettingsFile, NegativeToolCountAddsNothing)
{
    TempHome home;
    CEnv env;
    std::vector<uint8_t> bytes = SerializeSettings(env, "");
    // Bitmap-tool count sits 4 + 4 + 1 bytes before the end: count(4), avi count(4),
    // type(4), empty language(1); with empty lists both counts are 0.
    size_t bitmapCount = bytes.size() - 13;
    for (int k = 0; k < 4; ++k)
        bytes[bitmapCount + size_t(k)] = 0xFF; // -1
    CEnv read;
    std::string lang;
    SettingsReadResult r = DeserializeSettings(bytes, read, lang);
    ASSERT_TRUE(r.complete);
    EXPECT_TRUE(read.m_bitmapTools.empty());
    EXPECT_EQ(WantedLists(r), (std::vector<std::string_view>{"m_aviTools"}));
}

TEST(SettingsFile, StringLengthPrefixes)
{
    TempHome home;
    for (size_t length : {254u, 255u, 65533u, 65534u, 70000u}) {
        CEnv env;
        env.m_strBitmapName = std::string(length, 'x');
        std::vector<uint8_t> bytes = SerializeSettings(env, "");
        std::vector<uint8_t> prefix = SerializeSettings(CEnv(), "");
        // Find where the name starts: the default "Image" is at the same offset.
        size_t at = 0;
        while (at < prefix.size() && prefix[at] == bytes[at])
            ++at;
        if (length == 254) {
            EXPECT_EQ(bytes[at], 0xFE);
        } else if (length == 255) {
            EXPECT_EQ(bytes[at], 0xFF);
            EXPECT_EQ(bytes[at + 1], 0xFF);
            EXPECT_EQ(bytes[at + 2], 0x00);
        } else if (length == 65533) {
            EXPECT_EQ(bytes[at + 1], 0xFD);
            EXPECT_EQ(bytes[at + 2], 0xFF);
        } else { // 32-bit length after FF FF FF
            EXPECT_EQ(bytes[at + 1], 0xFF);
            EXPECT_EQ(bytes[at + 2], 0xFF);
        }
        CEnv read;
        std::string lang;
        ASSERT_TRUE(DeserializeSettings(bytes, read, lang).complete) << length;
        EXPECT_EQ(read.m_strBitmapName.size(), length);
    }
}

TEST(SettingsFile, WideStringMarkerIsDecoded)
{
    TempHome home;
    std::vector<uint8_t> bytes = SerializeSettings(CEnv(), "");
    // Replace the empty language string at the end by FF FEFF, then length 2, "Zé".
    bytes.pop_back();
    for (uint8_t b : {0xFF, 0xFE, 0xFF, 0x02, int('Z'), 0x00, 0xE9, 0x00})
        bytes.push_back(b);
    CEnv read;
    std::string lang;
    ASSERT_TRUE(DeserializeSettings(bytes, read, lang).complete);
    EXPECT_EQ(lang, "Z\xC3\xA9");
}

TEST(SettingsFile, ForeignFileChangesNothing)
{
    TempHome home;
    std::string text = "[General]\nname=value\n";
    CEnv read;
    read.m_nBitmapNumber = 5;
    std::string lang = "/keep.ini";
    SettingsReadResult r =
        DeserializeSettings(std::vector<uint8_t>(text.begin(), text.end()), read, lang);
    EXPECT_FALSE(r.signatureMatched);
    EXPECT_EQ(read.m_nBitmapNumber, 5);
    EXPECT_EQ(lang, "/keep.ini");
    CEnv configUpper;
    std::vector<uint8_t> upper = SerializeSettings(CEnv(), "");
    upper[1] = 'C';
    EXPECT_FALSE(DeserializeSettings(upper, configUpper, lang).signatureMatched);
}

TEST(SettingsFile, EveryTruncationKeepsWholeFieldsOnly)
{
    TempHome home;
    CEnv written = Customised();
    std::vector<uint8_t> bytes = SerializeSettings(written, "/lang/x.ini");
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        CEnv read;
        std::string lang;
        SettingsReadResult r =
            DeserializeSettings(std::span<const uint8_t>(bytes.data(), cut), read, lang);
        EXPECT_FALSE(r.complete) << cut;
        // Every field is either its default or the written value, never a torn one.
        EXPECT_TRUE(read.m_strBitmapPath == written.m_strBitmapPath ||
                    read.m_strBitmapPath == CEnv().m_strBitmapPath) << cut;
        EXPECT_TRUE(read.m_hkTimer == written.m_hkTimer || read.m_hkTimer == CEnv().m_hkTimer) << cut;
        EXPECT_TRUE(read.m_strAviName == "Film" || read.m_strAviName == "Clip") << cut;
        EXPECT_TRUE(lang.empty()) << cut;
        // A list cut short keeps none of its entries.
        EXPECT_TRUE(read.m_bitmapTools.empty() || read.m_bitmapTools == written.m_bitmapTools) << cut;
    }
}

TEST(SettingsFile, LengthPastTheEndAndAbsurdCountsFailCleanly)
{
    TempHome home;
    std::vector<uint8_t> bytes = SerializeSettings(CEnv(), "");
    // Bitmap folder claims 4 GiB.
    std::vector<uint8_t> huge = bytes;
    huge.erase(huge.begin() + 7, huge.end());
    for (uint8_t b : {0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0xFF, int('a'), int('b')})
        huge.push_back(b);
    CEnv read;
    std::string lang;
    SettingsReadResult r = DeserializeSettings(huge, read, lang);
    EXPECT_TRUE(r.signatureMatched);
    EXPECT_FALSE(r.complete);
    EXPECT_EQ(read.m_strBitmapPath, CEnv().m_strBitmapPath);

    // A tool count of two billion with no entries behind it.
    std::vector<uint8_t> count = bytes;
    size_t at = count.size() - 13;
    count[at] = 0xFF, count[at + 1] = 0xFF, count[at + 2] = 0xFF, count[at + 3] = 0x7F;
    CEnv read2;
    EXPECT_FALSE(DeserializeSettings(count, read2, lang).complete);
    EXPECT_TRUE(read2.m_bitmapTools.empty());
}

TEST(SettingsFile, RandomCorruptionNeverCrashes)
{
    TempHome home;
    std::vector<uint8_t> bytes = SerializeSettings(Customised(), "/lang/x.ini");
    std::mt19937 rng(7);
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> damaged = bytes;
        for (int k = 0; k < 1 + int(rng() % 6); ++k)
            damaged[rng() % damaged.size()] = uint8_t(rng());
        CEnv read;
        std::string lang;
        DeserializeSettings(damaged, read, lang);
        EXPECT_LE(lang.size(), bytes.size());
    }
}

TEST(SettingsFile, LoadNeverChangesADamagedFileAndSaveKeepsIt)
{
    TempHome home;
    std::string path = home.file("capture.cfg");
    std::vector<uint8_t> bytes = SerializeSettings(Customised(), "");
    bytes.resize(bytes.size() / 2);
    WriteFile(path, bytes);

    CEnv env;
    env.Load();
    EXPECT_EQ(ReadFile(path), bytes);
    EXPECT_EQ(env.m_strBitmapPath, "/tmp/pictures"); // read before the damage
    ASSERT_TRUE(env.Save());
    EXPECT_EQ(ReadFile(path + ".damaged"), bytes);
    CEnv again;
    again.Load();
    EXPECT_EQ(again.m_strBitmapPath, "/tmp/pictures");
}

TEST(SettingsFile, LoadCreatesSaveFoldersOnlyWithAFile)
{
    TempHome home;
    CEnv noFile;
    noFile.Load(); // no file: no folders made
    EXPECT_FALSE(std::filesystem::exists(home.file("Capture")));

    WriteFile(home.file("capture.cfg"), {'n', 'o', 'p', 'e'}); // foreign, still opened
    CEnv foreign;
    foreign.Load();
    EXPECT_TRUE(std::filesystem::is_directory(home.file("Capture/Bitmap")));
    EXPECT_TRUE(std::filesystem::is_directory(home.file("Capture/AVI")));
    EXPECT_TRUE(std::filesystem::is_directory(home.file("Capture/Icon")));
}

TEST(SettingsFile, FailedSaveLeavesOldFile)
{
    TempHome home;
    CEnv env;
    ASSERT_TRUE(env.Save());
    std::vector<uint8_t> before = ReadFile(home.file("capture.cfg"));
    // Make the folder unusable for the temporary file by pointing the home at a file.
    setenv("VISTREL_HOME", home.file("capture.cfg").c_str(), 1);
    env.m_strBitmapName = "Changed";
    EXPECT_FALSE(env.Save());
    setenv("VISTREL_HOME", home.path().c_str(), 1);
    EXPECT_EQ(ReadFile(home.file("capture.cfg")), before);
}
