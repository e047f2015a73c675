#pragma once
// The program's menus and tool bar as data: which commands, in which order,
// with their built-in English texts. The windows build their menus from these
// tables and the language files translate them by the same commands.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vistrel {

struct MenuEntry {
    int id;                // command; 0 a separator; kLanguageSubmenu the "&Language" submenu
    std::string_view text; // built-in text, with its shortcut after a tab where it has one
};

constexpr int kLanguageSubmenu = -1;

struct MenuPopup {
    std::string_view title;
    std::span<const MenuEntry> entries;
};

// The main menu: "&File", "&Edit", "&View", "&Capture", "&Tools", "&Help".
std::span<const MenuPopup> MainMenuLayout();
// For each top-level popup, its command ids in order (no separators or submenus).
std::vector<std::vector<uint32_t>> MainMenuCommands();

std::span<const MenuEntry> TrayMenuLayout();     // the main window's tray icon
std::span<const MenuEntry> ViewModeMenuLayout(); // the tool bar's View drop-down
std::span<const int> ToolBarCommands();          // left to right

// The captured-file list's context menus. An entry is a command, a separator
// (id 0), a submenu of its own entries, or a submenu that lists the outside
// programs of the settings with commands from toolBase on.
struct ContextMenuEntry {
    int id;
    std::string_view text; // the English key of the list's language section
    std::span<const ContextMenuEntry> submenu = {};
    int toolBase = 0;
};

// By folder kind: 0 icons, 1 bitmaps, 2 recordings.
std::span<const ContextMenuEntry> ListContextMenuLayout(int folderKind);

// A menu text as a tool tip or status prompt: cut before a '(' that is not the
// first character, every '(', ')' and '&' removed, at most 80 characters.
std::string CommandTipText(std::string_view menuText);

// The text of a menu entry without its shortcut suffix.
std::string_view WithoutShortcut(std::string_view text);

} // namespace vistrel
