#include "options/core/autostart_entry.h"
#include "options/core/hotkey_rules.h"
#include "options/core/name_rules.h"
#include "options/core/tool_list_rules.h"
#include "file_text.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>

using namespace vistrel;

TEST(OptionsHotkeys, FlagsConvertBothWaysAndDropTheRest)
{
    const HotkeyFieldValue field = FieldValueFromSetting({MOD_ALT | MOD_SHIFT, 0x41});
    EXPECT_EQ(field.virtualKey, 0x41u);
    EXPECT_EQ(field.flags, HOTKEYF_ALT | HOTKEYF_SHIFT);
    EXPECT_EQ(FieldValueFromSetting({MOD_CONTROL, 0x70}).flags, HOTKEYF_CONTROL);
    EXPECT_EQ(FieldValueFromSetting({MOD_SHIFT, 0x70}).flags, HOTKEYF_SHIFT);
    EXPECT_EQ(FieldValueFromSetting({MOD_ALT, 0x70}).flags, HOTKEYF_ALT);
    EXPECT_EQ(FieldValueFromSetting({0x18, 0x70}).flags, 0u); // no such settings flags

    EXPECT_EQ(SettingFromFieldValue({0x70, HOTKEYF_SHIFT}), (HotkeySetting{MOD_SHIFT, 0x70}));
    EXPECT_EQ(SettingFromFieldValue({0x70, HOTKEYF_ALT}), (HotkeySetting{MOD_ALT, 0x70}));
    EXPECT_EQ(SettingFromFieldValue({0x70, HOTKEYF_CONTROL | HOTKEYF_EXT}), (HotkeySetting{MOD_CONTROL, 0x70}));
    for (uint32_t modifiers = 0; modifiers < 8; ++modifiers) {
        const HotkeySetting setting{modifiers, 0x54};
        EXPECT_EQ(SettingFromFieldValue(FieldValueFromSetting(setting)), setting) << modifiers;
    }
}

TEST(OptionsHotkeys, OnlyTheFullScreenKeyMustDiffer)
{
    std::array<HotkeyFieldValue, 8> fields;
    for (uint32_t i = 0; i < fields.size(); ++i)
        fields[i] = {0x70 + i, HOTKEYF_CONTROL};
    EXPECT_FALSE(FullScreenKeyRepeated(fields));
    fields[2] = fields[1]; // Rectangle and Circle alike: allowed
    EXPECT_FALSE(FullScreenKeyRepeated(fields));
    fields[1] = fields[0];
    EXPECT_TRUE(FullScreenKeyRepeated(fields));
    fields[1] = {fields[0].virtualKey, HOTKEYF_SHIFT}; // same key, other modifiers
    EXPECT_FALSE(FullScreenKeyRepeated(fields));
    fields[7] = fields[0]; // the last row is compared too
    EXPECT_TRUE(FullScreenKeyRepeated(fields));
    fields[7] = {};
    fields[0] = {}; // an empty Full Screen field beside another empty one
    EXPECT_TRUE(FullScreenKeyRepeated(fields));
}

TEST(OptionsNames, PatternKeepsItsLeadingHashRun)
{
    EXPECT_EQ(DigitPatternRun("###a#"), "###");
    EXPECT_EQ(DigitPatternRun("a###"), "");
    EXPECT_EQ(DigitPatternRun("####"), "####");
    EXPECT_EQ(DigitPatternRun(""), "");
}

TEST(OptionsNames, ExampleIsTheNameTheNextFileGets)
{
    EXPECT_EQ(ExampleName("Image", "###", ".bmp", 0), "Image000.bmp");
    EXPECT_EQ(ExampleName("Clip", "#####", ".avi", 42), "Clip00042.avi");
    EXPECT_EQ(ExampleName("Image", "###a#", ".bmp", 7), "Image007.bmp");
    EXPECT_EQ(ExampleName("Image", "x##", ".bmp", 7), "Image7.bmp"); // no leading zeros
    EXPECT_EQ(ExampleName("Image", "###", ".bmp", 40000), "Image40000.bmp");
}

TEST(OptionsNames, StartNumbersCoverTheWholeCounter)
{
    EXPECT_EQ(StartNumberFromStored(0), 0);
    EXPECT_EQ(StartNumberFromStored(32766), 32766);
    EXPECT_EQ(StartNumberFromStored(-1), 65535);
    EXPECT_EQ(StoredFromStartNumber(65535), int16_t(-1));
    EXPECT_EQ(StoredFromStartNumber(32768), int16_t(-32768));
    EXPECT_EQ(StoredFromStartNumber(65536 + 5), 5); // the low 16 bits
    for (int number : {0, 1, 32767, 32768, kMaxStartNumber})
        EXPECT_EQ(StartNumberFromStored(StoredFromStartNumber(number)), number);
}

namespace {

std::vector<ToolEntry> ThreeTools()
{
    return {{"gimp", "/usr/bin/gimp", 0}, {"krita", "/usr/bin/krita", 1}, {"mtpaint", "/usr/bin/mtpaint", 0}};
}

int DefaultCount(const std::vector<ToolEntry>& rows)
{
    int count = 0;
    for (const ToolEntry& row : rows)
        count += row.isDefault;
    return count;
}

} // namespace

TEST(OptionsTools, DefaultMovesToTheChosenRowAlone)
{
    auto rows = ThreeTools();
    MarkDefaultTool(rows, 2);
    EXPECT_EQ(rows[2].isDefault, 1);
    EXPECT_EQ(DefaultCount(rows), 1);
    MarkDefaultTool(rows, 9);
    EXPECT_EQ(rows[2].isDefault, 1);
    rows[0].isDefault = 1; // as a hand-edited settings file may have it
    MarkDefaultTool(rows, 1);
    EXPECT_EQ(DefaultCount(rows), 1);
    EXPECT_EQ(rows[1].isDefault, 1);
}

TEST(OptionsTools, DeletingTheDefaultHandsItToTheFirstRow)
{
    auto rows = ThreeTools();
    DeleteTool(rows, 1);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].isDefault, 1);
    EXPECT_EQ(DefaultCount(rows), 1);

    rows = ThreeTools();
    DeleteTool(rows, 2); // the last row, not the default: the mark stays where it was
    EXPECT_EQ(rows[1].isDefault, 1);
    EXPECT_EQ(DefaultCount(rows), 1);

    rows = ThreeTools();
    DeleteTool(rows, 0); // the row that takes its place keeps its mark
    EXPECT_EQ(rows[0].name, "krita");
    EXPECT_EQ(rows[0].isDefault, 1);

    rows = {{"only", "/bin/only", 1}};
    DeleteTool(rows, 0);
    EXPECT_TRUE(rows.empty());
    DeleteTool(rows, 0); // nothing to delete
}

TEST(OptionsTools, AddingAProgramTwiceGivesOneRow)
{
    auto rows = ThreeTools();
    EXPECT_FALSE(AddTool(rows, "/USR/bin/GIMP"));
    EXPECT_TRUE(AddTool(rows, "/opt/pinta/pinta.sh"));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[3], (ToolEntry{"pinta", "/opt/pinta/pinta.sh", 0}));
    EXPECT_FALSE(AddTool(rows, "/opt/pinta/pinta.sh"));
    EXPECT_FALSE(AddTool(rows, ""));
    EXPECT_EQ(rows.size(), 4u);
}

TEST(OptionsTools, NamesFoldersAndButtons)
{
    EXPECT_EQ(ToolNameFromPath("/usr/bin/gimp-2.10"), "gimp-2");
    EXPECT_EQ(ToolNameFromPath("/usr/bin/mpv"), "mpv");
    EXPECT_EQ(ToolNameFromPath("/home/u/.local/bin/.hidden"), ".hidden");
    EXPECT_EQ(ToolFolder("/usr/bin/gimp"), "/usr/bin");
    EXPECT_EQ(ToolFolder("gimp"), "");
    EXPECT_EQ(EditedToolName("  Paint  ", "old"), "Paint");
    EXPECT_EQ(EditedToolName(" \t ", "old"), "old");
    EXPECT_FALSE(ToolButtonsEnabled(1, true));
    EXPECT_FALSE(ToolButtonsEnabled(2, false));
    EXPECT_TRUE(ToolButtonsEnabled(2, true));
}

TEST(OptionsAutostart, EntryPathFollowsXdgConfigHome)
{
    EXPECT_EQ(AutostartEntryPath("/cfg/", "/home/u"), "/cfg/autostart/vistrel.desktop");
    EXPECT_EQ(AutostartEntryPath(nullptr, "/home/u"), "/home/u/.config/autostart/vistrel.desktop");
    EXPECT_EQ(AutostartEntryPath("relative", "/home/u"), "/home/u/.config/autostart/vistrel.desktop");
    EXPECT_EQ(AutostartEntryPath("", ""), "");
}

TEST(OptionsAutostart, ExecLineRunsTheProgramMinimised)
{
    EXPECT_NE(AutostartEntryText("/opt/vistrel/bin/vistrel").find("\nExec=/opt/vistrel/bin/vistrel 0\n"),
              std::string::npos);
    EXPECT_EQ(ExecArgument("/a b/vistrel"), "\"/a b/vistrel\"");
    EXPECT_EQ(ExecArgument("/a/50%/v"), "/a/50%%/v");
    EXPECT_EQ(ExecArgument("/a \"$x\"/v"), "\"/a \\\"\\$x\\\"/v\"");
    // The entry's own escapes double the backslashes the Exec quoting wrote.
    EXPECT_NE(AutostartEntryText("/a \"b\"/v").find("Exec=\"/a \\\\\"b\\\\\"/v\" 0\n"), std::string::npos);
}

TEST(OptionsAutostart, WriteMakesTheFolderAndRemoveToleratesNoEntry)
{
    namespace fs = std::filesystem;
    std::string pattern = (fs::temp_directory_path() / "vistrel-autostart-XXXXXX").string();
    const std::string root = mkdtemp(pattern.data());
    const std::string path = AutostartEntryPath((root + "/config").c_str(), nullptr);
    EXPECT_TRUE(RemoveAutostartEntry(path)); // none there yet
    ASSERT_TRUE(WriteAutostartEntry(path, "/usr/bin/vistrel"));
    EXPECT_EQ(test::ReadText(path), AutostartEntryText("/usr/bin/vistrel"));
    EXPECT_TRUE(RemoveAutostartEntry(path));
    EXPECT_FALSE(fs::exists(path));
    EXPECT_FALSE(WriteAutostartEntry("", "/usr/bin/vistrel"));
    // A file where the folder should be: nothing can be written there.
    test::WriteText(root + "/blocked", "x");
    EXPECT_FALSE(WriteAutostartEntry(AutostartEntryPath((root + "/blocked").c_str(), nullptr), "/usr/bin/vistrel"));
    fs::remove_all(root);
}
