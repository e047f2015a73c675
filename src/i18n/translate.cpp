#include "i18n/translate.h"

#include "commands/command_ids.h"

#include <utility>

namespace vistrel {

namespace {

constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";

std::string Trimmed(std::string_view s)
{
    size_t first = s.find_first_not_of(kWhiteSpace);
    if (first == std::string_view::npos)
        return {};
    size_t last = s.find_last_not_of(kWhiteSpace);
    return std::string(s.substr(first, last - first + 1));
}

// A main-menu text: looked up, trimmed, English when that leaves nothing.
std::string MenuText(const Translator& tr, std::string_view english)
{
    std::string text = Trimmed(tr.Lookup(kMainMenuSection, english));
    return text.empty() ? std::string(english) : text;
}

struct MenuSuffix {
    uint32_t command;
    HotkeySetting CEnv::*hotkey; // the setting whose key text follows, or
    std::string_view fixed;      // a fixed shortcut text
};

constexpr MenuSuffix kMainMenuSuffixes[] = {
    {ID_CAPTURE_FULLSCREEN, &CEnv::m_hkFullScreen, {}},
    {ID_CAPTURE_RECTANGLE, &CEnv::m_hkRectangle, {}},
    {ID_CAPTURE_CIRCLE, &CEnv::m_hkCircle, {}},
    {ID_CAPTURE_ELLIPSE, &CEnv::m_hkEllipse, {}},
    {ID_CAPTURE_POLYGON, &CEnv::m_hkPolygon, {}},
    {ID_CAPTURE_OBJECT, &CEnv::m_hkObject, {}},
    {ID_CAPTURE_TIMER, &CEnv::m_hkTimer, {}},
    {ID_RECORD_AVI, &CEnv::m_hkAvi, {}},
    {ID_EDIT_SELECT_ALL, nullptr, "Ctrl+A"},
    {ID_EDIT_DELETE, nullptr, "Del"},
    {ID_EDIT_COPY, nullptr, "Ctrl+C"},
};

constexpr std::pair<uint32_t, std::string_view> kViewerSuffixes[] = {
    {32785, "P"}, {32786, "N"}, {32783, "Ctrl+E"}, {32784, "Ctrl+F"}, {32787, "Ctrl+Q"},
};

} // namespace

Translator::Translator(const std::string& languageFile) : m_chosen(!languageFile.empty())
{
    if (!m_chosen)
        return;
    IniReadResult read = ReadIniFile(languageFile);
    m_file = std::move(read.file);
    m_error = std::move(read.error);
}

Translator Translator::FromIni(IniFile file)
{
    Translator tr;
    tr.m_chosen = true;
    tr.m_file = std::move(file);
    return tr;
}

std::string Translator::Lookup(std::string_view section, std::string_view key) const
{
    return m_file.Get(section, key, key);
}

std::string Translator::Text(std::string_view section, std::string_view key) const
{
    auto value = m_file.Find(section, key);
    return std::string(value && !value->empty() ? *value : key);
}

std::string TranslateText(std::string_view section, std::string_view key)
{
    return Translator::Current().Text(section, key);
}

std::string DialogLineBreaks(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out += '\n';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string ReplaceHotkeyPlaceholder(std::string_view text, std::string_view hotkeyText)
{
    std::string out(text);
    size_t at = out.find("%s");
    if (at != std::string::npos)
        out.replace(at, 2, hotkeyText);
    return out;
}

std::optional<TranslatedDialog> TranslateDialog(const Translator& tr, std::string_view section,
                                                std::string_view titleKey,
                                                std::span<const DialogControlText> controls)
{
    if (!tr.chosen())
        return std::nullopt;
    TranslatedDialog result;
    result.title = tr.Text(section, titleKey);
    result.controls.reserve(controls.size());
    for (const auto& control : controls)
        result.controls.emplace_back(control.id, DialogLineBreaks(tr.Text(section, control.english)));
    return result;
}

std::optional<TranslatedDialog> TranslateDialog(const Translator& tr, const DialogTextTable& dialog)
{
    return TranslateDialog(tr, dialog.section, dialog.title, dialog.controls);
}

std::optional<TranslatedDialog> TranslateDialog(DialogId dialog)
{
    return TranslateDialog(Translator::Current(), DialogTexts(dialog));
}

std::optional<MainMenuTexts> TranslateMainMenu(const Translator& tr, CEnv& env,
                                               std::span<const std::vector<uint32_t>> commandsByPosition,
                                               const KeyNameFunction& keyName)
{
    if (!tr.chosen())
        return std::nullopt;
    env.m_mapMenuText.clear();
    MainMenuTexts result;
    for (size_t position = 0; position < commandsByPosition.size() && position < kMainMenuTitles.size();
         ++position) {
        result.titles.push_back(MenuText(tr, kMainMenuTitles[position]));
        for (uint32_t id : commandsByPosition[position]) {
            auto english = env.m_mapDefaultText.find(id);
            // Without an English text there is nothing to look up; blanking the
            // item would only lose what it shows.
            if (id == 0 || english == env.m_mapDefaultText.end() || english->second.empty())
                continue;
            std::string text = MenuText(tr, english->second);
            env.m_mapMenuText[id] = text;
            for (const auto& suffix : kMainMenuSuffixes) {
                if (suffix.command != id)
                    continue;
                text += '\t';
                text += suffix.hotkey ? HotkeyToText(env.*suffix.hotkey, keyName) : std::string(suffix.fixed);
            }
            result.items.emplace_back(id, std::move(text));
        }
    }
    // Not in the main menu, but the tray menu shows it.
    std::string show = tr.Lookup(kMainMenuSection, kShowMainWindowKey);
    env.m_mapMenuText[ID_SHOW_MAIN_WINDOW] = show.empty() ? std::string(kShowMainWindowKey) : show;
    return result;
}

std::vector<std::pair<uint32_t, std::string>> TranslateMenuByCommand(const CEnv& env,
                                                                     std::span<const uint32_t> commandIds)
{
    std::vector<std::pair<uint32_t, std::string>> texts;
    for (uint32_t id : commandIds) {
        if (id == 0)
            continue;
        if (auto it = env.m_mapMenuText.find(id); it != env.m_mapMenuText.end())
            texts.emplace_back(id, it->second);
    }
    return texts;
}

std::vector<std::pair<uint32_t, std::string>> TranslateViewerMenu(const Translator& tr,
                                                                  std::span<const uint32_t> commandIds)
{
    std::vector<std::pair<uint32_t, std::string>> texts;
    size_t position = 0;
    for (uint32_t id : commandIds) {
        if (id == 0)
            continue;
        if (position == kViewerMenuKeys.size())
            break;
        std::string text = tr.Text(kMainMenuSection, kViewerMenuKeys[position++]);
        for (const auto& [command, shortcut] : kViewerSuffixes)
            if (command == id)
                text += "\t" + std::string(shortcut);
        texts.emplace_back(id, std::move(text));
    }
    return texts;
}

std::string RecordingTrayMenuText(const Translator& tr, const CEnv& env, const KeyNameFunction& keyName)
{
    return tr.Text(kMainMenuSection, kStopRecordingKey) + "\t" + HotkeyToText(env.m_hkAvi, keyName);
}

std::array<std::string, 2> TimerTrayMenuTexts(const Translator& tr, const CEnv& env,
                                              const KeyNameFunction& keyName)
{
    return {tr.Text(kMainMenuSection, kShowMainWindowKey),
            tr.Text(kMainMenuSection, kStopCaptureKey) + "\t" + HotkeyToText(env.m_hkTimer, keyName)};
}

std::string ListMenuText(const Translator& tr, int folderKind, std::string_view english)
{
    std::string text = tr.Text(ListMenuSection(folderKind), english);
    if (english == "Copy")
        text += "\tCtrl+C";
    else if (english == "Delete")
        text += "\tDel";
    return text;
}

std::array<std::string, 4> ColumnHeaderTexts(const Translator& tr)
{
    std::array<std::string, 4> texts;
    for (size_t i = 0; i < texts.size(); ++i)
        texts[i] = tr.Text(kMainMenuSection, kColumnHeaderKeys[i]);
    return texts;
}

std::array<std::string, 3> FolderNameTexts(const Translator& tr)
{
    std::array<std::string, 3> texts;
    for (size_t i = 0; i < texts.size(); ++i)
        texts[i] = tr.Text(kVirtualFolderSection, kFolderNameKeys[i]);
    return texts;
}

} // namespace vistrel
