#include "options/core/hotkey_rules.h"

#include <algorithm>

namespace vistrel {

namespace {

struct FlagPair {
    uint32_t field;
    uint32_t setting;
};
constexpr FlagPair kFlagPairs[] = {
    {HOTKEYF_ALT, MOD_ALT},
    {HOTKEYF_CONTROL, MOD_CONTROL},
    {HOTKEYF_SHIFT, MOD_SHIFT},
};

} // namespace

HotkeyFieldValue FieldValueFromSetting(HotkeySetting setting)
{
    HotkeyFieldValue value{setting.virtualKey, 0};
    for (const FlagPair& pair : kFlagPairs)
        if (setting.modifiers & pair.setting)
            value.flags |= pair.field;
    return value;
}

HotkeySetting SettingFromFieldValue(HotkeyFieldValue value)
{
    HotkeySetting setting{0, value.virtualKey};
    for (const FlagPair& pair : kFlagPairs)
        if (value.flags & pair.field)
            setting.modifiers |= pair.setting;
    return setting;
}

bool FullScreenKeyRepeated(std::span<const HotkeyFieldValue> fields)
{
    if (fields.empty())
        return false;
    return std::find(fields.begin() + 1, fields.end(), fields.front()) != fields.end();
}

} // namespace vistrel
