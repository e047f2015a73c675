#pragma once
// CEnv: the program's one settings record. theEnv is built with every default
// before start-up, loaded from "capture.cfg", read directly by every part of the
// program and written back when the Options sheet is accepted and at exit.
// One thread only: the user-interface thread (in the command-line programs,
// the main thread). The recorder names its file there too, in AviRecorder::Start,
// before its worker thread begins.

#include "base/keep_copy.h"
#include "settings/hotkey_setting.h"
#include "settings/tool_entry.h"

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace vistrel {

class CEnv {
public:
    CEnv(); // every default; the save folders hang from the program folder of this moment

    // Menu command identifier -> English text, and -> the text now shown.
    std::unordered_map<uint32_t, std::string> m_mapDefaultText;
    std::unordered_map<uint32_t, std::string> m_mapMenuText;

    std::string m_strBitmapPath;
    std::string m_strAviPath;
    std::string m_strIconPath;
    uint32_t m_crBitmapBack;  // red in the low byte, then green, then blue
    uint32_t m_crPreviewBack;
    HotkeySetting m_hkRectangle;
    HotkeySetting m_hkCircle;
    HotkeySetting m_hkEllipse;
    HotkeySetting m_hkFullScreen;
    HotkeySetting m_hkPolygon;
    HotkeySetting m_hkObject;
    HotkeySetting m_hkAvi;
    HotkeySetting m_hkTimer;
    int32_t m_bAutorun = 0;
    int32_t m_bAutoSaveOnExit = 0;
    int32_t m_bHideSelf = 1;
    int32_t m_bShowMagnifier = 1;
    int32_t m_bReserved1 = 1;
    int32_t m_bReserved2 = 1;
    int32_t m_bReserved3 = 1;
    int32_t m_bShowReminder = 1;
    std::vector<ToolEntry> m_aviTools;
    std::vector<ToolEntry> m_bitmapTools;
    int32_t m_bBitmapNameByTime = 0;
    std::string m_strBitmapName = "Image";
    std::string m_strBitmapSuffix = "###";
    int16_t m_nBitmapNumber = 0;
    int32_t m_bAviNameByTime = 0;
    std::string m_strAviName = "Clip";
    std::string m_strAviSuffix = "###";
    int16_t m_nAviNumber = 0;
    int32_t m_nCaptureType = 0;

    // The settings file "capture.cfg" in the program folder. Load reads it if it
    // exists (from a damaged file it keeps the fields read whole; it never changes
    // the file; a tool list stored empty gets its default entry), makes sure the
    // save folders exist. (The language files are collected by the start-up
    // code, CollectLanguageFiles.) Save writes it
    // atomically, first keeping a damaged or foreign file it replaces under the
    // first free name of "capture.cfg.damaged", "capture.cfg.damaged.1", ...;
    // false when it could not be written or the damaged file could not be kept,
    // the old file then unchanged.
    // ensureFolders false: read only, as --print-settings does, creating nothing.
    // linkFile: how the damaged file is linked to its new name (tests fail it).
    bool Load(bool ensureFolders = true);
    bool Save(LinkFunction linkFile = LinkFollowingSymlinks);
    static std::string SettingsFilePath();

    void SetDefaultHotkeys();
    // Registration goes through the registrar the program installs; without one
    // (command-line use, tests) these do nothing.
    void SetHotkeyRegistrar(HotkeyRegistrar* registrar) { m_registrar = registrar; }
    void RegisterHotkeys(bool exceptAvi);
    void UnregisterHotkeys(bool exceptAvi);
    // The hotkeys another program held when they were last registered (ids).
    std::vector<int> TakenHotkeys() const;
    // The setting registered under a hotkey id; none for an unknown id.
    HotkeySetting Hotkey(int id) const;
    // Each registered hotkey's id and field, Full Screen first.
    static std::array<std::pair<int, HotkeySetting CEnv::*>, 8> HotkeyFields();

    // Full path of the next capture file; raises the number unless naming by time.
    std::string GetImageFileName(int imageType);
    std::string GetAviFileName();

    std::string GetDefaultAviPlayer() const;
    void ClearAviTools() { m_aviTools.clear(); }

private:
    HotkeyRegistrar* m_registrar = nullptr;
    bool m_bLoadedFileDamaged = false;
};

extern CEnv theEnv;
extern std::string g_strLanguageFile;       // chosen language file; empty: English
extern std::vector<std::string> g_languageFiles; // found at start, not stored

// The language folder: program folder + "/Language".
std::string LanguageFolder();

} // namespace vistrel
