#pragma once
// Every text a language file translates, in one table: the sections of the
// dialogs and pages with their control texts, and the menu, list and folder
// keys. Dialogs translate themselves from it, the shipped language files are
// checked against it, and an English template is written from it.

#include "settings/env.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vistrel {

struct DialogControlText {
    int id;                   // the control's identifier
    std::string_view english; // its English text, also the key; "\n" stands for a line break
};

struct DialogTextTable {
    std::string_view section; // the dialog's English title names its section
    std::string_view title;   // key of the window title
    std::span<const DialogControlText> controls;
    std::span<const std::string_view> otherKeys; // looked up by name, not set on a control
};

enum class DialogId {
    Option,
    General,
    Capture,
    Colors,
    SaveNames,
    Hotkeys,
    BitmapTools,
    AviTools,
    More, // the preferences kept beside the settings file, one control each
    About,
    Magnifier,
    Notice,
    TimerCapture,
    CursorOptions,
    VideoOptions,
    AviCapture,
    IconSearch,
    Icons,
    FileOperations, // the captured-file list's own boxes and pickers
};

const DialogTextTable& DialogTexts(DialogId id);
std::span<const DialogTextTable> AllDialogTexts();

// Controls that are named only by their text; these identifiers are ours.
enum OwnControlId : int {
    IDC_HOTKEY_LABEL_FULLSCREEN = 1300,
    IDC_HOTKEY_LABEL_RECTANGLE,
    IDC_HOTKEY_LABEL_CIRCLE,
    IDC_HOTKEY_LABEL_ELLIPSE,
    IDC_HOTKEY_LABEL_POLYGON,
    IDC_HOTKEY_LABEL_OBJECT,
    IDC_HOTKEY_LABEL_AVI,
    IDC_HOTKEY_LABEL_TIMER,
    IDC_TIMER_INTERVAL_LABEL,
    IDC_TIMER_SECONDS_LABEL,
    IDC_CURSOR_DISPLAY_GROUP,
    IDC_CURSOR_HIGHLIGHT_GROUP,
    IDC_ABOUT_RIGHTS,
    IDC_NAME_EXAMPLE_LABEL_BITMAP,
    IDC_NAME_EXAMPLE_LABEL_AVI,
};

// Section names of the menu and list texts.
inline constexpr std::string_view kLanguageSection = "Language";
inline constexpr std::string_view kMainMenuSection = "MainMenu";
inline constexpr std::string_view kVirtualFolderSection = "Virtual Folder";

// Top-level titles of the main menu, by position.
inline constexpr std::array<std::string_view, 6> kMainMenuTitles = {
    "&File", "&Edit", "&View", "&Capture", "&Tools", "&Help"};

// The full-window viewer's menu: keys by position, suffixes by command.
inline constexpr std::array<std::string_view, 5> kViewerMenuKeys = {
    "&Previous", "&Next", "Full &Extent", "&Fit to Window", "&Restore Window"};

inline constexpr std::string_view kStopRecordingKey = "Stop Recording";
inline constexpr std::string_view kShowMainWindowKey = "&Show Main Window";
inline constexpr std::string_view kStopCaptureKey = "Stop &Capture";

// Hotkeys another program holds, on the Hotkeys page, the status bar and the
// notice ("Hotkeys" section).
inline constexpr std::string_view kTakenHotkeyMarkKey = "Taken by another program";
inline constexpr std::string_view kTakenHotkeysNoticeKey =
    "These hotkeys are taken by another program and do not work here:";
inline constexpr std::string_view kTakenHotkeysStatusKey = "Hotkeys taken by another program: %s";
inline constexpr std::string_view kChangeHotkeysKey = "Change &Hotkeys...";

// The selection overlay's hint line, by shape.
inline constexpr std::string_view kSelectionSection = "Selection";
inline constexpr std::string_view kDragHintKey = "Drag, or click two corners. Esc or a right click cancels.";
inline constexpr std::string_view kPolygonHintKey =
    "Click the corners; Enter or a double click finishes. Esc or a right click cancels.";

// The recording dialog's line on how a recording goes (the tray tip, the main
// window's status bar): %1 the time, %2 the file's size; and its message when
// the player cannot start: %1 the file's name, %2 its folder ("AVI Capture").
inline constexpr std::string_view kRecordingStatusKey = "Recording %1 — %2";
inline constexpr std::string_view kPlayerFailedKey = "The player cannot be started for %1 in the folder %2.";

// Column headers of the captured-file list, in column order ("MainMenu").
inline constexpr std::array<std::string_view, 4> kColumnHeaderKeys = {
    "File Name", "File Path", "Size", "Creation Date"};

// The main window's bar titles and the status bar's file count ("MainMenu").
inline constexpr std::string_view kFolderBarTitleKey = "Virtual Folder";
inline constexpr std::string_view kPreviewBarTitleKey = "Preview";
inline constexpr std::string_view kTotalFilesKey = "Total files: %d"; // the count where "%d" stands

// The folder tree's items, in tree order: bitmaps, icons, AVI ("Virtual Folder").
inline constexpr std::array<std::string_view, 3> kFolderNameKeys = {
    "Captured Bitmap", "Captured Icon", "Captured Avi"};

// The list's context menu of a folder kind (0 icons, 1 bitmaps, 2 AVI).
std::string_view ListMenuSection(int folderKind);
std::span<const std::string_view> ListMenuKeys(int folderKind);

struct LanguageKey {
    std::string_view section;
    std::string key;
};

// Every (section, key) the program looks up, in a fixed order, without
// repeats. The menu command texts come from env.m_mapDefaultText.
std::vector<LanguageKey> KnownLanguageKeys(const CEnv& env);

// A complete language file that maps each English text to itself.
std::string EnglishLanguageTemplate(const CEnv& env, std::string_view languageName = "English");

} // namespace vistrel
