#include "commands/menu_layout.h"

#include "commands/command_ids.h"

#include <cstdint>

namespace vistrel {

namespace {

constexpr MenuEntry kFile[] = {{ID_FILE_SAVE_AS, "&Save As..."}, {0, ""}, {ID_APP_EXIT, "E&xit"}};
constexpr MenuEntry kEdit[] = {
    {ID_EDIT_COPY, "&Copy\tCtrl+C"}, {ID_EDIT_COPY_TO_CLIPBOARD, "Copy to Clip&board"}, {0, ""},
    {ID_EDIT_COPY_TO, "Copy To..."}, {ID_EDIT_MOVE_TO, "&Move To..."},                   {0, ""},
    {ID_EDIT_SELECT_ALL, "Select &All\tCtrl+A"}, {ID_EDIT_DELETE, "&Delete\tDel"},
};
constexpr MenuEntry kView[] = {
    {ID_VIEW_TOOLBAR, "&Toolbar"},         {ID_VIEW_STATUS_BAR, "&Status Bar"},
    {ID_VIEW_FOLDER_BAR, "&Folder Bar"},   {ID_VIEW_PREVIEW_BAR, "&Preview Bar"},
    {0, ""},                               {ID_VIEW_THUMBNAILS, "Th&umbnails"},
    {ID_VIEW_LARGE_ICONS, "&Large Icons"}, {ID_VIEW_SMALL_ICONS, "S&mall Icons"},
    {ID_VIEW_LIST, "L&ist"},               {ID_VIEW_DETAILS, "&Details"},
};
constexpr MenuEntry kCapture[] = {
    {ID_CAPTURE_FULLSCREEN, "&Full Screen"}, {ID_CAPTURE_RECTANGLE, "&Rectangle"}, {ID_CAPTURE_CIRCLE, "&Circle"},
    {ID_CAPTURE_ELLIPSE, "&Ellipse"},        {ID_CAPTURE_POLYGON, "&Polygon"},     {ID_CAPTURE_OBJECT, "&Object"},
    {0, ""},                                 {ID_CAPTURE_TIMER, "&Timer"},         {0, ""},
    {ID_CAPTURE_ICONS, "Capture &Icons"},    {ID_RECORD_AVI, "Record &AVI"},
};
constexpr MenuEntry kTools[] = {{ID_OPTION, "&Option..."}, {kLanguageSubmenu, "&Language"}};
constexpr MenuEntry kHelp[] = {
    {ID_HELP_CONTENTS, "&Contents"}, {ID_HELP_INDEX, "&Index..."}, {ID_HELP_WEBSITE, "&Visit Our Website"},
    {0, ""},                         {ID_APP_ABOUT, "&About"},
};
constexpr MenuPopup kMainMenu[] = {
    {"&File", kFile}, {"&Edit", kEdit}, {"&View", kView}, {"&Capture", kCapture}, {"&Tools", kTools}, {"&Help", kHelp},
};

constexpr MenuEntry kTrayMenu[] = {
    {ID_SHOW_MAIN_WINDOW, "&Show Main Window"},
    {ID_CAPTURE_FULLSCREEN, "&Full Screen"},
    {ID_CAPTURE_RECTANGLE, "&Rectangle"},
    {ID_CAPTURE_CIRCLE, "&Circle"},
    {ID_CAPTURE_ELLIPSE, "&Ellipse"},
    {ID_CAPTURE_POLYGON, "&Polygon"},
    {ID_CAPTURE_OBJECT, "Object"},
    {ID_CAPTURE_TIMER, "&Timer"},
    {0, ""},
    {ID_CAPTURE_ICONS, "Capture &Icons"},
    {ID_RECORD_AVI, "Record &AVI"},
    {ID_APP_ABOUT, "&About..."},
    {0, ""},
    {ID_APP_EXIT, "E&xit"},
};

constexpr MenuEntry kViewModeMenu[] = {
    {ID_VIEW_THUMBNAILS, "Thumbnails"}, {ID_VIEW_LARGE_ICONS, "Large Icons"}, {ID_VIEW_SMALL_ICONS, "Small Icons"},
    {ID_VIEW_LIST, "List"},             {ID_VIEW_DETAILS, "Details"},
};

constexpr int kToolBar[] = {
    ID_CAPTURE_FULLSCREEN, ID_CAPTURE_OBJECT, ID_CAPTURE_RECTANGLE, ID_CAPTURE_CIRCLE,
    ID_CAPTURE_ELLIPSE,    ID_CAPTURE_POLYGON, ID_CAPTURE_TIMER,    ID_CAPTURE_ICONS,
    ID_RECORD_AVI,         ID_VIEW_BUTTON,     ID_APP_ABOUT,
};

constexpr ContextMenuEntry kWallPaperMenu[] = {
    {ID_WALLPAPER_CENTER, "&Center"},
    {ID_WALLPAPER_TILE, "&Tile"},
    {ID_WALLPAPER_STRETCH, "&Stretch"},
    {ID_WALLPAPER_RESTORE, "&Restore"},
};
constexpr ContextMenuEntry kBrowserMenu[] = {{ID_SKIN_SET, "&Set as skin"}, {ID_SKIN_REMOVE, "&Remove Skin"}};
constexpr ContextMenuEntry kBitmapListMenu[] = {
    {ID_EDIT_COPY, "Copy"},
    {ID_FILE_SAVE_AS, "Save As..."},
    {ID_EDIT_COPY_TO, "&Copy To..."},
    {ID_EDIT_MOVE_TO, "&Move To..."},
    {0, ""},
    {ID_SHELL_OPEN, "Shell Open"},
    {-1, "Edit Bitmap with", {}, ID_BITMAP_TOOL_FIRST},
    {0, ""},
    {-1, "&Wall Paper", kWallPaperMenu},
    {0, ""},
    {-1, "&Internet Explorer", kBrowserMenu},
    {0, ""},
    {ID_EDIT_DELETE, "Delete"},
    {0, ""},
    {ID_FILE_PROPERTY, "Property"},
};
constexpr ContextMenuEntry kIconListMenu[] = {
    {ID_EDIT_COPY, "Copy"}, {ID_EDIT_COPY_TO, "&Copy To..."}, {ID_EDIT_MOVE_TO, "&Move To..."}, {0, ""},
    {ID_EDIT_DELETE, "Delete"}, {0, ""}, {ID_FILE_PROPERTY, "Property"},
};
constexpr ContextMenuEntry kAviListMenu[] = {
    {ID_EDIT_COPY, "Copy"},
    {ID_EDIT_COPY_TO, "&Copy To..."},
    {ID_EDIT_MOVE_TO, "&Move To..."},
    {0, ""},
    {ID_SHELL_OPEN, "Shell Open"},
    {-1, "Play AVI With", {}, ID_AVI_TOOL_FIRST},
    {0, ""},
    {ID_EDIT_DELETE, "Delete"},
    {0, ""},
    {ID_FILE_PROPERTY, "Property"},
};

constexpr size_t kMaxTipLength = 80;

} // namespace

std::span<const MenuPopup> MainMenuLayout() { return kMainMenu; }

std::vector<std::vector<uint32_t>> MainMenuCommands()
{
    std::vector<std::vector<uint32_t>> commands;
    for (const MenuPopup& popup : kMainMenu) {
        auto& ids = commands.emplace_back();
        for (const MenuEntry& entry : popup.entries)
            if (entry.id > 0)
                ids.push_back(uint32_t(entry.id));
    }
    return commands;
}

std::span<const MenuEntry> TrayMenuLayout() { return kTrayMenu; }
std::span<const MenuEntry> ViewModeMenuLayout() { return kViewModeMenu; }
std::span<const int> ToolBarCommands() { return kToolBar; }

std::span<const ContextMenuEntry> ListContextMenuLayout(int folderKind)
{
    switch (folderKind) {
    case 0: return kIconListMenu;
    case 2: return kAviListMenu;
    default: return kBitmapListMenu;
    }
}

std::string CommandTipText(std::string_view menuText)
{
    const size_t bracket = menuText.find('(');
    if (bracket != std::string_view::npos && bracket > 0)
        menuText = menuText.substr(0, bracket);
    std::string tip;
    for (char c : menuText)
        if (c != '(' && c != ')' && c != '&')
            tip += c;
    if (tip.size() > kMaxTipLength) {
        size_t cut = kMaxTipLength;
        while (cut > 0 && (uint8_t(tip[cut]) & 0xC0) == 0x80) // not inside a UTF-8 character
            --cut;
        tip.resize(cut);
    }
    return tip;
}

std::string_view WithoutShortcut(std::string_view text) { return text.substr(0, text.find('\t')); }

} // namespace vistrel
