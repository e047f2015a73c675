#pragma once
// Translation of the program's texts through the chosen language file. Every
// function here works on plain data and returns the texts to show; the windows
// put them on their widgets. A Translator reads the file once for a batch of
// lookups (a dialog, the main menu); the file is read again for the next batch,
// so an edited file shows at the next opening.
//
// User-interface thread only: the functions that take no Translator read
// g_strLanguageFile, and the menu functions write theEnv.m_mapMenuText.

#include "i18n/hotkey_text.h"
#include "i18n/ini_file.h"
#include "i18n/language_texts.h"
#include "settings/env.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vistrel {

class Translator {
public:
    Translator() = default;                             // no language file chosen
    explicit Translator(const std::string& languageFile); // "" also means none
    static Translator FromIni(IniFile file);            // a chosen file already read
    static Translator Current() { return Translator(g_strLanguageFile); }

    bool chosen() const { return m_chosen; }
    const std::string& error() const { return m_error; } // why the chosen file could not be read

    // The platform lookup with the key as default: the value when the file has
    // the line (even an empty one), else the key.
    std::string Lookup(std::string_view section, std::string_view key) const;
    // TranslateText: the value, or the key when it is missing or empty.
    std::string Text(std::string_view section, std::string_view key) const;

private:
    bool m_chosen = false;
    IniFile m_file;
    std::string m_error;
};

// One lookup in g_strLanguageFile (reads the file); batches use a Translator.
std::string TranslateText(std::string_view section, std::string_view key);

// The two characters '\' 'n' as a line break, as dialog texts have them.
std::string DialogLineBreaks(std::string_view text);

// The first "%s" replaced by the hotkey text; nothing else in the text is a
// format, so a translation cannot make it read arguments that are not there.
std::string ReplaceHotkeyPlaceholder(std::string_view text, std::string_view hotkeyText);

struct TranslatedDialog {
    std::string title;
    std::vector<std::pair<int, std::string>> controls; // control id, text to set
};

// nullopt when no language file is chosen: the dialog keeps its own texts.
// Otherwise the title and every control's text, translated or English, with
// "\n" turned into line breaks in the control texts.
std::optional<TranslatedDialog> TranslateDialog(const Translator& tr, std::string_view section,
                                                std::string_view titleKey,
                                                std::span<const DialogControlText> controls);
std::optional<TranslatedDialog> TranslateDialog(const Translator& tr, const DialogTextTable& dialog);
std::optional<TranslatedDialog> TranslateDialog(DialogId dialog); // g_strLanguageFile


struct MainMenuTexts {
    std::vector<std::string> titles;                    // top-level positions 0.. (at most six)
    std::vector<std::pair<uint32_t, std::string>> items; // command id, text with any shortcut suffix
};

// TranslateMainMenu. commandsByPosition: for each top-level popup, the command
// ids of its items in order (separators and submenus left out). nullopt, and env
// untouched, when no language file is chosen. Otherwise env.m_mapMenuText is
// refilled (plus "&Show Main Window", which is not in the main menu) and the
// texts come back with the hotkey and shortcut suffixes. A command without an
// English text is left as it is.
std::optional<MainMenuTexts> TranslateMainMenu(const Translator& tr, CEnv& env,
                                               std::span<const std::vector<uint32_t>> commandsByPosition,
                                               const KeyNameFunction& keyName = FallbackKeyName);

// TranslateMenuByCommand: for each id that has an m_mapMenuText entry, that text.
std::vector<std::pair<uint32_t, std::string>> TranslateMenuByCommand(const CEnv& env,
                                                                     std::span<const uint32_t> commandIds);

// The full-window viewer's menu: its command items in position order; the
// texts with their shortcuts. Runs with or without a language file.
std::vector<std::pair<uint32_t, std::string>> TranslateViewerMenu(const Translator& tr,
                                                                  std::span<const uint32_t> commandIds);

// First item of the recording tray menu: "Stop Recording", tab, the AVI hotkey.
std::string RecordingTrayMenuText(const Translator& tr, const CEnv& env,
                                  const KeyNameFunction& keyName = FallbackKeyName);
// The two items of the timer tray menu: "&Show Main Window"; "Stop &Capture",
// tab, the timer hotkey.
std::array<std::string, 2> TimerTrayMenuTexts(const Translator& tr, const CEnv& env,
                                              const KeyNameFunction& keyName = FallbackKeyName);

// An item of the captured-file list's context menu: the translation of its
// English text in the section of the folder kind, "Copy" and "Delete" with
// their shortcuts.
std::string ListMenuText(const Translator& tr, int folderKind, std::string_view english);

std::array<std::string, 4> ColumnHeaderTexts(const Translator& tr);
std::array<std::string, 3> FolderNameTexts(const Translator& tr); // tree order

} // namespace vistrel
