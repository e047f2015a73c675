#include "i18n/hotkey_text.h"

#include "base/text_encoding.h"

#include <array>
#include <string_view>
#include <utility>

namespace vistrel {

namespace {

// Named keys, with the names Qt gives them as native text.
constexpr std::array<std::pair<uint32_t, std::string_view>, 51> kKeyNames = {{
    {0x03, "Cancel"},      {0x08, "Backspace"},  {0x09, "Tab"},         {0x0C, "Clear"},
    {0x0D, "Return"},      {0x10, "Shift"},      {0x11, "Ctrl"},        {0x12, "Alt"},
    {0x13, "Pause"},       {0x14, "Caps Lock"},  {0x1B, "Esc"},         {0x20, "Space"},
    {0x21, "PgUp"},        {0x22, "PgDown"},     {0x23, "End"},         {0x24, "Home"},
    {0x25, "Left"},        {0x26, "Up"},         {0x27, "Right"},       {0x28, "Down"},
    {0x29, "Select"},      {0x2A, "Print"},      {0x2B, "Execute"},     {0x2C, "Print"},
    {0x2D, "Ins"},         {0x2E, "Del"},        {0x2F, "Help"},        {0x5B, "Meta"},
    {0x5C, "Meta"},        {0x5D, "Menu"},       {0x6A, "Num+*"},       {0x6B, "Num++"},
    {0x6C, "Num+,"},       {0x6D, "Num+-"},      {0x6E, "Num+."},       {0x6F, "Num+/"},
    {0x90, "Num Lock"},    {0x91, "Scroll Lock"}, {0xBA, ";"},          {0xBB, "="},
    {0xBC, ","},           {0xBD, "-"},          {0xBE, "."},           {0xBF, "/"},
    {0xC0, "`"},           {0xDB, "["},          {0xDC, "\\"},          {0xDD, "]"},
    {0xDE, "'"},           {0xA0, "Shift"},      {0xA2, "Ctrl"},
}};

} // namespace

std::string FallbackKeyName(uint32_t vk, bool extended)
{
    (void)extended; // the English names do not differ for extended keys
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z'))
        return std::string(1, char(vk));
    if (vk >= 0x60 && vk <= 0x69)
        return "Num+" + std::string(1, char('0' + vk - 0x60));
    if (vk >= 0x70 && vk <= 0x87)
        return "F" + std::to_string(vk - 0x70 + 1);
    for (const auto& [code, name] : kKeyNames)
        if (code == vk)
            return std::string(name);
    return {};
}

std::string HotkeyToText(uint32_t modifiers, uint32_t virtualKey, const KeyNameFunction& keyName)
{
    modifiers &= 0xFFFF;
    virtualKey &= 0xFFFF;
    if (modifiers == 0 && virtualKey == 0)
        return {};
    auto name = [&](uint32_t vk, bool extended) {
        return std::string(CutUtf8(keyName ? keyName(vk, extended) : FallbackKeyName(vk, extended),
                                   kMaxKeyNameBytes));
    };
    std::string text;
    if (modifiers & MOD_CONTROL)
        text += name(VK_CONTROL_KEY, false) + "+";
    if (modifiers & MOD_SHIFT)
        text += name(VK_SHIFT_KEY, false) + "+";
    if (modifiers & MOD_ALT)
        text += name(VK_ALT_KEY, false) + "+";
    text += name(virtualKey, (modifiers & MOD_EXTENDED_KEY) != 0);
    return text;
}

} // namespace vistrel
