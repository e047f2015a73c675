#include "i18n/language_texts.h"

#include "settings/preferences.h"

#include <algorithm>
#include <set>
#include <utility>

namespace vistrel {

namespace {

using C = DialogControlText;

constexpr C kOptionControls[] = {{1, "OK"}, {2, "Cancel"}, {1014, "&Apply"}};
constexpr std::string_view kOptionKeys[] = {"The settings could not be saved."};

constexpr C kGeneralControls[] = {
    {1140, "Autorun program when windows starting"},
    {1142, "Hide self when capturing"},
    {1143, "Show magnifier when capturing"},
    {1148, "Show reminder before window capturing"},
    {1144, "Auto save bitmaps when exit program"},
    {1189, "Application Program"},
    {1190, "Capture Type"},
    {1152, "Capture as Bitmap File"},
    {1151, "Capture as Jpeg File"},
    {1051, "Capture as TIFF File"},
    {1052, "Capture as PNG File"},
    {1191, "Don't use Jpeg under 256 colors mode"},
};
// Shown when the autostart entry cannot be written or removed.
constexpr std::string_view kGeneralKeys[] = {"Can not open the special register key"};

constexpr C kCaptureControls[] = {
    {1192, "Save Paths"},
    {1100, "&Bitmap save path:"},
    {1101, "&Icon save path:"},
    {1104, "&AVI save path:"},
};
// The title of the folder picker.
constexpr std::string_view kCaptureKeys[] = {"Select a directory:"};

constexpr C kColorControls[] = {
    {1123, "Colors"},
    {1124, "The bitmap background color indicate to the area that outside the captured region while "
           "capture ellipse and polygon bitmap"},
    {1193, "Bit&map Background Color:"},
    {1125, "The preview window backgound color"},
    {1194, "&Preview Background Color:"},
    {1014, "&Default"},
};

constexpr C kSaveNameControls[] = {
    {1126, "Bitmap save name"},
    {1132, "Generate by &time"},
    {1128, "AVI save name"},
    {1140, "Generate by &time"},
    {1137, "Name"},
    {1138, "Suffix"},
    {1139, "Start by"},
    {IDC_NAME_EXAMPLE_LABEL_BITMAP, "For example:"},
    {1141, "Name"},
    {1142, "Suffix"},
    {1146, "Start by"},
    {IDC_NAME_EXAMPLE_LABEL_AVI, "For example:"},
};

constexpr C kHotkeyControls[] = {
    {1197, "Capture Hotkeys"},
    {IDC_HOTKEY_LABEL_FULLSCREEN, "Capture &Full Screen:"},
    {IDC_HOTKEY_LABEL_RECTANGLE, "Capture &Rectangle:"},
    {IDC_HOTKEY_LABEL_CIRCLE, "Capture &Circle:"},
    {IDC_HOTKEY_LABEL_ELLIPSE, "Capture &Ellipse:"},
    {IDC_HOTKEY_LABEL_POLYGON, "Capture &Polygon:"},
    {IDC_HOTKEY_LABEL_OBJECT, "Capture &Window&&Control:"},
    {IDC_HOTKEY_LABEL_AVI, "AVI Recording:"},
    {IDC_HOTKEY_LABEL_TIMER, "Timer Capture:"},
    {1122, "&Default"},
};
// Shown when another field holds the Full Screen key.
constexpr std::string_view kHotkeyKeys[] = {
    "All these hotkeys can not be the same!\\nPlease try again!",
    kTakenHotkeyMarkKey,
    kTakenHotkeysNoticeKey,
    kTakenHotkeysStatusKey,
    kChangeHotkeysKey,
};

constexpr C kBitmapToolControls[] = {
    {1121, "You can select several bitmap editors to help you edit the captureed bitmap"},
    {1014, "&Add"},
    {1015, "&Edit"},
    {1016, "De&fault"},
    {1017, "&Delete"},
};

constexpr C kAviToolControls[] = {
    {1204, "Select your favourite tools to player or edit captured avi files"},
    {1111, "&Add"},
    {1112, "&Edit"},
    {1113, "De&fault"},
    {1114, "&Delete"},
};

// The group of the More page; each preference's label follows from its table.
constexpr std::string_view kMoreKeys[] = {"Preferences"};

// The two columns of the tool lists, looked up in the page's section.
constexpr std::string_view kToolColumnKeys[] = {"Name", "Application Path"};

constexpr C kAboutControls[] = {{IDC_ABOUT_RIGHTS, "All Rights Reserved"}, {1, "OK"}};

constexpr C kMagnifierControls[] = {
    {1206, "Press 'H' to show/hide"},
    {1185, "Press 'Num +' to Increase ratio"},
    {1186, "Press 'Num -' to Decrease ratio"},
};

constexpr C kNoticeControls[] = {
    {1172, "Press %s to finish capture\\nOR Press Escape to cancel capture"},
    {1150, "Don't show me this message again."},
    {1, "OK"},
};

constexpr C kTimerControls[] = {
    {IDC_TIMER_INTERVAL_LABEL, "Capture &Interval:"},
    {IDC_TIMER_SECONDS_LABEL, "Seconds"},
    {1090, "&Width:"},
    {1091, "Hei&ght:"},
    {1092, "&X:"},
    {1093, "&Y:"},
    {1096, "Show &Mouse while capturing"},
    {1097, "&Hide program on start capturing"},
    {1088, "&Full Screen Capture"},
    {1089, "&Region Capture"},
    {1085, "Capture"},
    {1014, "&Select Region"},
    {1173, "Press %s to stop capture"},
    {1, "&Capture"},
    {2, "Cancel"},
};

// What the dialog says when it cannot start with what was typed.
constexpr std::string_view kTimerKeys[] = {
    "Please enter an integer.",
    "The interval must be from 1 to 86400 seconds.",
    "The width and the height must be at least 1.",
    "No part of the region is on the screen.",
};

constexpr C kCursorControls[] = {
    {1049, "&Hide Cursor"},
    {1050, "&Show Cursor"},
    {1051, "Use &Actual Cursor"},
    {1052, "Use &Custom Cursor"},
    {1053, "Use Cursor From &File"},
    {1057, "H&ighlight Cursor"},
    {1059, "Size"},
    {1060, "Shape"},
    {1062, "Color"},
    {IDC_CURSOR_DISPLAY_GROUP, "Cursor Display"},
    {IDC_CURSOR_HIGHLIGHT_GROUP, "Cursor Highlight"},
    {1, "OK"},
    {2, "Cancel"},
};
// The highlight shapes, as the shape list shows them.
constexpr std::string_view kCursorKeys[] = {"Circle", "Ellipse", "Square", "Rectangle"};

constexpr C kVideoControls[] = {
    {1186, "Compressor"},
    {1040, "&About"},
    {1042, "Quality"},
    {1187, "Set Key Frames Every"},
    {1045, "frames"},
    {1182, "Capture Frames Every"},
    {1048, "milliseconds"},
    {1188, "Playback Rate"},
    {1049, "frames/second"},
    {1, "OK"},
    {2, "Cancel"},
};

constexpr C kAviCaptureControls[] = {
    {1181, "Options"},
    {1021, "&Video Option..."},
    {1015, "Cursor &Option..."},
    {1023, "&Enable Auto Pan"},
    {1067, "Autopan speed:"},
    {1025, "&Minimize program on start recording"},
    {1026, "H&ide flashing window during recording"},
    {1027, "&Play AVI file with default player when finish recording"},
    {1182, "Capture Region"},
    {1028, "C&ustomed region capture on start recording"},
    {1029, "Fi&xed region capture"},
    {1066, "Region"},
    {1064, "&Width:"},
    {1065, "&Height:"},
    {1033, "&Select Region"},
    {1034, "&Full screen capture"},
    {1183, "&Run Priority:"},
    {1149, "Press %s to stop recording"},
    {1035, "Start"},
    {1036, "Stop"},
    {2, "Close"},
};

constexpr C kIconSearchControls[] = {
    {1184, "Icon Capture"},
    {1049, "Searc&h Icons In EXE or DLL File"},
    {1070, "Execute File:"},
    {1050, "Search in &folder"},
    {1071, "Search Path:"},
    {1072, "Current File:"},
    {1073, "Captured Icons:"},
    {1012, "Se&arch icons in sub folders"},
    {1006, "*.&ico Files"},
    {1008, "*.&exe Files"},
    {1007, "*.&dll Files"},
    {1, "&Search"},
    {2, "&Close"},
};

// The search button reads "&Stop" while a search runs.
constexpr std::string_view kIconSearchKeys[] = {"&Stop"};

constexpr C kIconsControls[] = {
    {1014, "&Save"},
    {1075, "Save &All"},
    {1082, "&To Clipboard"},
    {2, "Close"},
};

// The window's title names the count and the file: "%d" and "%s" are filled in.
constexpr std::string_view kAviCaptureKeys[] = {kRecordingStatusKey, kPlayerFailedKey};
constexpr std::string_view kIconsKeys[] = {"%d icons in %s"};
constexpr std::string_view kFileOperationKeys[] = {
    "Delete '%s' for good?", "Delete these %d items for good?", "These files could not be deleted:",
    "The file could not be renamed:", "Select a directory:", "%s already exists. Do you want to replace it?",
};

// In DialogId order.
const DialogTextTable kDialogs[] = {
    {"Option", "Option", kOptionControls, kOptionKeys},
    {"General", "General", kGeneralControls, kGeneralKeys},
    {"Capture", "Capture", kCaptureControls, kCaptureKeys},
    {"Colors", "Colors", kColorControls, {}},
    {"Save Names", "Save Names", kSaveNameControls, {}},
    {"Hotkeys", "Hotkeys", kHotkeyControls, kHotkeyKeys},
    {"Bitmap Tools", "Bitmap Tools", kBitmapToolControls, kToolColumnKeys},
    {"AVI Tools", "AVI Tools", kAviToolControls, kToolColumnKeys},
    {"More", "More", {}, kMoreKeys},
    {"About", "About Vistrel", kAboutControls, {}},
    {"Magnifier", "Magnifier", kMagnifierControls, {}},
    {"Notice!!", "Notice!!", kNoticeControls, {}},
    {"Timer Capture", "Timer Capture", kTimerControls, kTimerKeys},
    {"Cursor Options", "Cursor Options", kCursorControls, kCursorKeys},
    {"Video Options", "Video Options", kVideoControls, {}},
    {"AVI Capture", "AVI Capture", kAviCaptureControls, kAviCaptureKeys},
    {"Icon Capture&Search", "Icon Capture&Search", kIconSearchControls, kIconSearchKeys},
    {"Icons", "Icons", kIconsControls, kIconsKeys},
    {"File Operations", "Confirm File Delete", {}, kFileOperationKeys},
};
static_assert(std::size(kDialogs) == size_t(DialogId::FileOperations) + 1);

constexpr std::string_view kBitmapListMenu[] = {
    "Copy", "Save As...", "&Copy To...", "&Move To...", "Shell Open", "Edit Bitmap with", "&Wall Paper",
    "&Center", "&Tile", "&Stretch", "&Restore", "&Internet Explorer", "&Set as skin", "&Remove Skin",
    "Delete", "Property",
};
constexpr std::string_view kIconListMenu[] = {"Copy", "&Copy To...", "&Move To...", "Delete", "Property"};
constexpr std::string_view kAviListMenu[] = {
    "Copy", "&Copy To...", "&Move To...", "Shell Open", "Play AVI With", "Delete", "Property",
};

} // namespace

const DialogTextTable& DialogTexts(DialogId id) { return kDialogs[size_t(id)]; }

std::span<const DialogTextTable> AllDialogTexts() { return kDialogs; }

std::string_view ListMenuSection(int folderKind)
{
    switch (folderKind) {
    case 0: return "Icon List Menu";
    case 2: return "AVI List Menu";
    default: return "Bitmap List Menu";
    }
}

std::span<const std::string_view> ListMenuKeys(int folderKind)
{
    switch (folderKind) {
    case 0: return kIconListMenu;
    case 2: return kAviListMenu;
    default: return kBitmapListMenu;
    }
}

std::vector<LanguageKey> KnownLanguageKeys(const CEnv& env)
{
    std::vector<LanguageKey> keys;
    std::set<std::pair<std::string, std::string>> seen;
    auto add = [&](std::string_view section, std::string_view key) {
        if (seen.emplace(std::string(section), std::string(key)).second)
            keys.push_back({section, std::string(key)});
    };
    add(kLanguageSection, "Language");
    add(kLanguageSection, "Author");

    for (auto title : kMainMenuTitles)
        add(kMainMenuSection, title);
    std::vector<std::pair<uint32_t, std::string>> commands(env.m_mapDefaultText.begin(),
                                                           env.m_mapDefaultText.end());
    std::sort(commands.begin(), commands.end());
    for (const auto& [id, text] : commands)
        add(kMainMenuSection, text);
    for (auto key : kViewerMenuKeys)
        add(kMainMenuSection, key);
    add(kMainMenuSection, kStopRecordingKey);
    add(kMainMenuSection, kShowMainWindowKey);
    add(kMainMenuSection, kStopCaptureKey);
    for (auto key : kColumnHeaderKeys)
        add(kMainMenuSection, key);
    for (auto key : {kFolderBarTitleKey, kPreviewBarTitleKey, kTotalFilesKey})
        add(kMainMenuSection, key);

    for (auto key : kFolderNameKeys)
        add(kVirtualFolderSection, key);
    add(kSelectionSection, kDragHintKey);
    add(kSelectionSection, kPolygonHintKey);
    for (int kind : {1, 0, 2})
        for (auto key : ListMenuKeys(kind))
            add(ListMenuSection(kind), key);

    for (const auto& dialog : kDialogs) {
        add(dialog.section, dialog.title);
        for (const auto& control : dialog.controls)
            add(dialog.section, control.english);
        for (auto key : dialog.otherKeys)
            add(dialog.section, key);
        if (&dialog == &DialogTexts(DialogId::More))
            for (const Preference& preference : Preferences())
                add(dialog.section, preference.label);
    }
    return keys;
}

std::string EnglishLanguageTemplate(const CEnv& env, std::string_view languageName)
{
    std::string out;
    std::string_view section;
    for (const auto& [keySection, key] : KnownLanguageKeys(env)) {
        if (keySection != section) {
            out += out.empty() ? "[" : "\n[";
            out += keySection;
            out += "]\n";
            section = keySection;
        }
        out += key;
        out += '=';
        if (keySection == kLanguageSection)
            out += key == "Language" ? std::string(languageName) : std::string();
        else
            out += key;
        out += '\n';
    }
    return out;
}

} // namespace vistrel
