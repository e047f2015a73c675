#pragma once
// The numbers of the program's commands, as its menus, tool bar and tray menus
// use them. They are the identities of the actions; language files and the
// settings' menu texts are keyed by them.

namespace vistrel {

enum CommandId : int {
    ID_CAPTURE_FULLSCREEN = 32771,
    ID_CAPTURE_RECTANGLE = 32772,
    ID_CAPTURE_CIRCLE = 32773,
    ID_CAPTURE_ELLIPSE = 32774,
    ID_CAPTURE_POLYGON = 32775,
    ID_CAPTURE_ICONS = 32777,
    ID_VIEW_LIST = 32778,
    ID_VIEW_DETAILS = 32779,
    ID_VIEW_THUMBNAILS = 32780,
    ID_VIEWER_FULL_EXTENT = 32783, // the full-window viewer's menu
    ID_VIEWER_FIT_TO_WINDOW = 32784,
    ID_VIEWER_PREVIOUS = 32785,
    ID_VIEWER_NEXT = 32786,
    ID_VIEWER_RESTORE_WINDOW = 32787,
    ID_EDIT_DELETE_KEY = 32789,
    ID_EDIT_SELECT_ALL = 32790,
    ID_EDIT_COPY_TO = 32791,
    ID_CAPTURE_TIMER = 32800,
    ID_RECORD_AVI = 32802,
    ID_EDIT_MOVE_TO = 32803,
    ID_CAPTURE_OBJECT = 32806,
    ID_STOP_TIMER_CAPTURE = 32808,
    ID_STOP_RECORDING = 32809,
    ID_WALLPAPER_TILE = 32793,
    ID_WALLPAPER_CENTER = 32794,
    ID_WALLPAPER_STRETCH = 32795,
    ID_WALLPAPER_RESTORE = 32796,
    ID_SKIN_SET = 32798,
    ID_SKIN_REMOVE = 32799,
    ID_EDIT_DELETE = 32810,
    ID_OPTION = 32811,
    ID_VIEW_BUTTON = 32818,
    ID_EDIT_COPY_TO_CLIPBOARD = 32838,
    ID_FILE_PROPERTY = 32842,
    ID_SHELL_OPEN = 32856,
    ID_FILE_SAVE_AS = 32858,
    ID_HELP_WEBSITE = 32860,
    ID_HELP_CONTENTS = 32861,
    ID_EDIT_COPY = 32862,
    ID_SHOW_MAIN_WINDOW = 32863, // also the one command one copy sends another
    ID_VIEW_FOLDER_BAR = 102,
    ID_VIEW_PREVIEW_BAR = 104,
    ID_VIEW_SMALL_ICONS = 59408,
    ID_VIEW_LARGE_ICONS = 59409,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_HELP_INDEX = 57666,
};

// The list's context menu runs the configured outside programs by position.
constexpr int ID_BITMAP_TOOL_FIRST = 50000;
constexpr int ID_BITMAP_TOOL_LAST = 50050;
constexpr int ID_AVI_TOOL_FIRST = 50100;
constexpr int ID_AVI_TOOL_LAST = 50150;

} // namespace vistrel
