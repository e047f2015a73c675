// Icon groups of PE32 and PE32+ modules made in code: enumeration order, labels,
// images, and every kind of damage (truncation, loops, offsets outside the file,
// huge counts, shared and overlapping data) failing cleanly.
#include "icons/core/icon_fit.h"
#include "icons/core/icon_module.h"
#include "icons/core/icon_naming.h"
#include "pe_fixture.h"
#include "temp_home.h"

#include <gtest/gtest.h>


using namespace vistrel;
using namespace vistrel::test;

namespace {

const std::vector<ResourceName> kGroups = {Numbered(3), Named(u"APPICON"), Numbered(1), Named(u"ALPHA")};
const std::vector<ImageKind> kImages = {{16, 1}, {16, 4}, {32, 8}, {32, 32}, {256, 0}};

std::vector<std::string> Labels(const IconModule& module)
{
    std::vector<std::string> labels;
    for (const auto& name : module.Groups())
        labels.push_back(GroupLabel(name));
    return labels;
}

// Reads every group; the number that could be read.
size_t ReadAll(std::span<const uint8_t> bytes)
{
    auto module = IconModule::FromBytes(bytes);
    if (!module)
        return 0;
    size_t read = 0;
    for (const auto& name : module->Groups())
        read += module->ReadGroup(name).has_value();
    return read;
}

} // namespace

TEST(IconModule, GroupsOfPe32AndPe32PlusInDirectoryOrder)
{
    for (bool pe32Plus : {false, true}) {
        SCOPED_TRACE(pe32Plus ? "PE32+" : "PE32");
        TempHome home;
        const PeFixture f = SimpleFixture(kGroups, kImages, pe32Plus);
        const std::string path = home.file("tools.dll");
        WriteFile(path, f.bytes);
        auto module = IconModule::Open(path);
        ASSERT_TRUE(module.has_value());
        EXPECT_EQ(Labels(*module),
                  (std::vector<std::string> {"Icon [ALPHA]", "Icon [APPICON]", "Icon [1]", "Icon [3]"}));

        // Group 3 was built first: its images are the first five.
        const auto icon = module->ReadGroup(Numbered(3));
        ASSERT_TRUE(icon.has_value());
        EXPECT_EQ(icon->moduleFileName, path);
        EXPECT_TRUE(icon->icoFileName.empty());
        ASSERT_EQ(icon->images.size(), kImages.size());
        for (size_t i = 0; i < kImages.size(); ++i) {
            const IconImage& image = icon->images[i];
            EXPECT_EQ(image.width, uint32_t(kImages[i].side));
            EXPECT_EQ(image.height, uint32_t(kImages[i].side));
            EXPECT_EQ(image.colours, kImages[i].bpp ? uint32_t(kImages[i].bpp) : 32u);
            EXPECT_EQ(image.isPng, kImages[i].bpp == 0);
        }
        EXPECT_EQ(icon->images[1].data, DibIconImage(16, 4, 1));
        EXPECT_EQ(icon->images[4].data, PngIconImage(256, 4));

        const auto named = ReadIconFromModule(path, Named(u"APPICON"));
        ASSERT_TRUE(named.has_value());
        EXPECT_EQ(named->images[0].data, DibIconImage(16, 1, 21)); // after the five of group 3
        EXPECT_FALSE(ReadIconFromModule(path, Numbered(0)).has_value());
        EXPECT_FALSE(ReadIconFromModule(path, Numbered(2)).has_value());
        EXPECT_FALSE(ReadIconFromModule(path, Named(u"appicon")).has_value());
    }
}

TEST(IconModule, WhatIsNotA32BitModuleIsRefused)
{
    TempHome home;
    Bytes ne = SimpleFixture({Numbered(1)}, {{16, 4}}, false).bytes;
    ne[0x40] = 'N';
    ne[0x41] = 'E';
    Bytes dos = ne;
    Put32(dos, 0x3C, 0x7FFFFFF0); // points past the end
    Bytes oddMagic = SimpleFixture({Numbered(1)}, {{16, 4}}, false).bytes;
    Put16(oddMagic, 0x40 + 24, 0x107);
    const auto ico = IcoFileBytes(*ParseIcoFile(Bytes {0, 0, 1, 0, 0, 0}));
    for (const auto& [name, bytes] : std::vector<std::pair<std::string, Bytes>> {
             {"ne.exe", ne}, {"dos.exe", dos}, {"rom.dll", oddMagic}, {"icon.ico", *ico}, {"empty.dll", {}}}) {
        WriteFile(home.file(name), bytes);
        EXPECT_FALSE(IconModule::Open(home.file(name)).has_value()) << name;
    }
    EXPECT_FALSE(IconModule::Open(home.path()).has_value());
    EXPECT_EQ(NotLoadableMessage("/x/ne.exe"), "/x/ne.exe Load file error,it must be win32 file");
    EXPECT_EQ(NoIconMessage("/x/a.dll"), "There is no icon in file /x/a.dll");

    // A module without a resource directory is loadable and has no groups.
    Bytes bare = SimpleFixture({Numbered(1)}, {{16, 4}}, true).bytes;
    Put32(bare, 0x40 + 24 + 112 + 16, 0);
    auto module = IconModule::FromBytes(bare);
    ASSERT_TRUE(module.has_value());
    EXPECT_TRUE(module->Groups().empty());
}

TEST(IconModule, EveryTruncationFailsCleanlyOrGivesTheSameImages)
{
    for (bool pe32Plus : {false, true}) {
        const PeFixture f = SimpleFixture({Numbered(1), Named(u"X")}, {{16, 4}, {32, 0}}, pe32Plus);
        auto whole = IconModule::FromBytes(f.bytes);
        ASSERT_TRUE(whole.has_value());
        const auto one = whole->ReadGroup(Numbered(1)), x = whole->ReadGroup(Named(u"X"));
        ASSERT_TRUE(one && x);
        // Where the last image ends: any cut before it loses a group.
        const size_t lastData = Get32(f.bytes, f.groupDataEntries.back()) - 0x1000 + 0x200 +
                                Get32(f.bytes, f.groupDataEntries.back() + 4);
        for (size_t cut = 0; cut < f.bytes.size(); ++cut) {
            const std::span<const uint8_t> bytes(f.bytes.data(), cut);
            auto module = IconModule::FromBytes(bytes);
            size_t read = 0;
            for (const auto& name : module ? module->Groups() : std::vector<IconGroupName> {}) {
                const auto icon = module->ReadGroup(name);
                if (!icon)
                    continue;
                ++read;
                const auto& expected = name.isText ? *x : *one;
                ASSERT_EQ(icon->images.size(), expected.images.size()) << "cut " << cut;
                for (size_t i = 0; i < expected.images.size(); ++i)
                    EXPECT_EQ(icon->images[i].data, expected.images[i].data) << "cut " << cut;
            }
            if (cut < lastData) {
                EXPECT_LT(read, 2u) << "cut " << cut;
            }
        }
    }
}

TEST(IconModule, DamagedDirectoriesFailCleanly)
{
    const PeFixture f = SimpleFixture({Numbered(1), Numbered(2)}, {{16, 4}, {32, 8}}, false);
    ASSERT_EQ(ReadAll(f.bytes), 2u);
    auto damaged = [&](auto change) {
        Bytes b = f.bytes;
        change(b);
        return ReadAll(b); // a loop followed would never return: the test's time limit
    };
    const size_t root = f.resourceOffset, groups = f.groupTypeTable, icons = f.iconTypeTable;
    const uint32_t rootOffset = 0x80000000u, groupsOffset = 0x80000000u | uint32_t(groups - root);
    // Loops: the group type pointing at the root, a group at its own type table,
    // a language entry that is a table again.
    EXPECT_EQ(damaged([&](Bytes& b) { Put32(b, root + 24 + 4, rootOffset); }), 0u);
    EXPECT_EQ(damaged([&](Bytes& b) { Put32(b, groups + 16 + 4, groupsOffset); }), 1u);
    EXPECT_EQ(damaged([&](Bytes& b) { Put32(b, groups + 16 + 4, rootOffset); }), 1u);
    EXPECT_EQ(damaged([&](Bytes& b) { Put32(b, f.groupLanguageTables[0] + 16 + 4, groupsOffset); }), 1u);
    // Offsets outside the file: a table, a data entry, data, a section.
    EXPECT_EQ(damaged([&](Bytes& b) { Put32(b, root + 24 + 4, 0x8FFFFFF0u); }), 0u);
    EXPECT_EQ(damaged([&](Bytes& b) { Put32(b, f.groupLanguageTables[1] + 16 + 4, 0x7FFFFFF0u); }), 1u);
    EXPECT_EQ(damaged([&](Bytes& b) { Put32(b, f.iconDataEntries[0], 0xFFFFFF00u); }), 1u);
    EXPECT_EQ(damaged([&](Bytes& b) { Put32(b, f.iconDataEntries[3] + 4, 0x7FFFFFFFu); }), 1u);
    EXPECT_EQ(damaged([&](Bytes& b) { Put32(b, 0x40 + 24 + 224 + 20, 0xFFFFF000u); }), 0u);
    // Absurd counts: 131070 entries claimed by small tables, 65535 images in a group.
    EXPECT_EQ(damaged([&](Bytes& b) { Put32(b, root + 12, 0xFFFFFFFFu); }), 0u);
    EXPECT_EQ(damaged([&](Bytes& b) { Put32(b, icons + 12, 0xFFFFFFFFu); }), 0u);
    EXPECT_EQ(damaged([&](Bytes& b) {
                  const uint32_t rva = Get32(b, f.groupDataEntries[0]);
                  Put16(b, rva - 0x1000 + 0x200 + 4, 0xFFFF);
              }),
              1u);
    // Two image entries on the same bytes, or on overlapping bytes.
    EXPECT_EQ(damaged([&](Bytes& b) { Put32(b, f.iconDataEntries[1], Get32(b, f.iconDataEntries[0])); }), 1u);
    EXPECT_EQ(damaged([&](Bytes& b) { Put32(b, f.iconDataEntries[1], Get32(b, f.iconDataEntries[0]) + 8); }), 1u);
}

TEST(IconModule, GroupsSharingLargeImagesCannotMultiplyTheWork)
{
    // 200 groups that all show the same 1 MiB image: each group alone is fine,
    // but the module stops giving them out long before 200 MiB.
    std::vector<FixtureGroup> groups;
    for (uint16_t g = 1; g <= 200; ++g)
        groups.push_back({Numbered(g), {1}});
    const PeFixture f = BuildPeFixture({DibIconImage(512, 32)}, groups, true);
    const size_t read = ReadAll(f.bytes);
    EXPECT_GT(read, 10u);
    EXPECT_LT(read, 100u);
}

TEST(IconModule, GroupsSharingOneLongImageListCannotMultiplyTheWork)
{
    // 3000 groups that all use one list of 65535 entries, each naming icon 1
    // (so every look-up succeeds before the overlap is seen).
    Bytes list = {0, 0, 1, 0, 0xFF, 0xFF};
    for (int i = 0; i < 0xFFFF; ++i)
        list.insert(list.end(), {16, 16, 16, 0, 1, 0, 4, 0, 0x28, 1, 0, 0, 1, 0});
    std::vector<FixtureGroup> groups;
    for (uint16_t g = 1; g <= 3000; ++g)
        groups.push_back({Numbered(g), {1}});
    PeFixture f = BuildPeFixture({DibIconImage(16, 4), list}, groups, false);
    const uint32_t listEntry = uint32_t(f.iconDataEntries[1] - f.resourceOffset);
    for (size_t language : f.groupLanguageTables)
        Put32(f.bytes, language + 16 + 4, listEntry);
    // Without the module's budget this copies the list 3000 times (2.7 GB):
    // minutes even optimised, which the test's time limit catches.
    EXPECT_EQ(ReadAll(f.bytes), 0u);
}

TEST(IconFit, PrefersTheWantedSizeThenTheDepthAndShowsIt)
{
    const PeFixture f = SimpleFixture({Numbered(1)}, {{16, 4}, {32, 4}, {32, 8}, {48, 32}, {256, 0}}, false);
    auto module = IconModule::FromBytes(f.bytes);
    ASSERT_TRUE(module.has_value());
    const auto icon = module->ReadGroup(Numbered(1));
    ASSERT_TRUE(icon.has_value());
    EXPECT_EQ(RankIconImages(*icon, 32, 32).front(), 2u); // exact size, deepest not above 32
    EXPECT_EQ(RankIconImages(*icon, 32, 4).front(), 1u);
    EXPECT_EQ(RankIconImages(*icon, 32, 1), (std::vector<size_t> {1, 2, 3, 4, 0})); // larger before smaller
    EXPECT_EQ(RankIconImages(*icon, 24, 32).front(), 2u); // the nearest larger size
    EXPECT_EQ(RankIconImages(*icon, 300, 32).front(), 4u); // nothing larger: the nearest smaller

    const auto shown = LoadGroupIcon(*module, Numbered(1), 48, 32);
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->bitmap.width, 48);
    EXPECT_EQ(shown->bitsPerPixel, 32);
    const auto png = LoadGroupIcon(*module, Numbered(1), 256, 32);
    ASSERT_TRUE(png.has_value());
    EXPECT_EQ(png->bitmap.width, 256);
    EXPECT_FALSE(LoadGroupIcon(*module, Numbered(9), 32, 32).has_value());
}

TEST(IconNaming, LabelsAndFileNames)
{
    EXPECT_EQ(GroupLabel(Numbered(12)), "Icon [12]");
    EXPECT_EQ(GroupLabel(Named(u"APPICON")), "Icon [APPICON]");
    EXPECT_EQ(GroupLabel(Named(u"\u00e9\U0001F600")), "Icon [\u00e9\U0001F600]");
    EXPECT_EQ(Utf8FromUtf16(std::u16string(1, char16_t(0xD800)) + u"x"), "\uFFFDx");

    EXPECT_EQ(SaveAllFileName("/out", "/in/tools.dll", "Icon [3]"), "/out/tools3.ico");
    EXPECT_EQ(SaveAllFileName("/out", "/in/tools.dll", "Icon [APPICON]"), "/out/toolsAPPCON.ico");
    EXPECT_EQ(SaveAllFileName("/out", "/in/my.app.exe", "Icon [12]"), "/out/my12.ico");
    EXPECT_EQ(SaveAllFileName("/out", "/in/noext", "Icon [2]"), "/out/noext2.ico");
    // A group name cannot lead out of the folder.
    EXPECT_EQ(SaveAllFileName("/out", "/in/.hidden.dll", "Icon [../../etc/x]"), "/out/.._.._et_x.ico");

    // One run of Save All gives every group its own name, the same each run.
    for (int run = 0; run < 2; ++run) {
        SaveAllNames names("/out");
        EXPECT_EQ(names.Next("/in/tools.dll", "Icon [FOLDER]"), "/out/toolsFOLDER.ico");
        EXPECT_EQ(names.Next("/in/tools.dll", "Icon [FOLDERn]"), "/out/toolsFOLDER_001.ico");
        EXPECT_EQ(names.Next("/in/tools.dll", "Icon [FOLDER_001]"), "/out/toolsFOLDER_001_001.ico");
        EXPECT_EQ(names.Next("/in/tools.dll", "Icon [IFOLDER]"), "/out/toolsFOLDER_002.ico");
        EXPECT_EQ(names.Next("/in/tools.exe", "Icon [3]"), "/out/tools3.ico");
        EXPECT_EQ(names.Next("/in/tools.dll", "Icon [3]"), "/out/tools3_001.ico");
    }

    EXPECT_EQ(SearchModuleIconName("/icons", "tools.dll", 0), "/icons/tools001.ico");
    EXPECT_EQ(SearchModuleIconName("/icons", "Tools.DLL", 11), "/icons/Tools012.ico");
    EXPECT_EQ(SearchModuleIconName("/icons", "a.b.exe", 999), "/icons/a.b1000.ico");
}
