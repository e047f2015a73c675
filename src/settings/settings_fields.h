#pragma once
// The one table of the stored settings: every field once, in the order of the
// settings file, with its name and kind. The file reader and writer,
// --print-settings and --set all walk this table, so they cannot drift apart.

#include "settings/env.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace vistrel {

enum class FieldKind {
    Folder,       // string: an absolute folder, blanks at both ends removed
    NamePart,     // string: the name or digit pattern of numbered capture names
    Color,        // 32-bit colour
    Hotkey,       // modifiers, then virtual key: two 32-bit values
    Flag,         // 32-bit BOOL
    Number16,     // signed 16-bit
    ToolList,     // signed 32-bit count, then {isDefault, name, command} each
    CaptureType,  // 32-bit, stored through the image-type permutation
    LanguageFile, // g_strLanguageFile, a string
};

using FieldMember = std::variant<std::monostate, std::string CEnv::*, uint32_t CEnv::*,
                                 int32_t CEnv::*, int16_t CEnv::*, HotkeySetting CEnv::*,
                                 std::vector<ToolEntry> CEnv::*>;

struct SettingsField {
    std::string_view name;
    FieldKind kind;
    FieldMember member;
};

// Every stored field after the signature, in file order.
std::span<const SettingsField> SettingsFields();
const SettingsField* FindSettingsField(std::string_view name);

// What a field of each kind may hold. The file reader and --set both ask these,
// so a value --set refuses is also never taken from a file: there it leaves the
// field as it was (its default). Every 16-bit number is a valid counter (it
// wraps); --set offers 0 to 32767, the numbers a user starts from.
//
// A folder: blanks at both ends removed, it must be absolute and hold no control
// character. The folder to store, or nullopt when refused.
std::optional<std::string> ValidFolder(std::string_view text);
// A name part or digit pattern: no '/' and no control character, so that the
// name made from it stays a file name inside its folder.
bool IsValidNamePart(std::string_view text);
bool IsValidColor(uint32_t color);     // 0x00BBGGRR
bool IsValidHotkey(HotkeySetting key); // Alt|Ctrl|Shift modifiers, a key 0 to 255
bool IsValidFlag(int32_t value);       // 0 or 1
bool IsValidCaptureType(int32_t type); // 0 to 5

// Image type in the record <-> value in the file.
int32_t EncodeCaptureType(int32_t imageType);
int32_t DecodeCaptureType(int32_t stored);

// The record as one JSON object keyed by field name, plus g_strLanguageFile and
// g_languageFiles.
std::string SettingsToJson(const CEnv& env, const std::string& languageFile,
                           const std::vector<std::string>& languageFiles);

// Parses "FIELD=VALUE" as --set takes it and stores it into env (or languageFile).
// Integers in decimal or 0x hex, hotkeys "MODIFIERS,VIRTUALKEY", strings as given.
// On failure env is unchanged and the message says why.
std::optional<std::string> SetSettingsField(CEnv& env, std::string& languageFile,
                                            std::string_view assignment);

} // namespace vistrel
