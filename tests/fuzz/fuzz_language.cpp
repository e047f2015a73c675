// Language file reader on arbitrary bytes: it must never crash or read past the
// data; every text it hands out is UTF-8 without NUL or line breaks and within
// the value limit; each kept line is found again by its own section and key;
// written back out, the file reads back the same; and the translators built on
// it produce only such texts.
#include "base/text_encoding.h"
#include "i18n/ini_file.h"
#include "i18n/translate.h"

#include <cstdlib>
#include <string_view>

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

void CheckText(std::string_view s)
{
    Check(vistrel::IsValidUtf8(s));
    Check(s.find('\0') == std::string_view::npos);
    Check(s.find_first_of("\r\n") == std::string_view::npos);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool homeSet = [] { return setenv("VISTREL_HOME", "/nonexistent-vistrel-fuzz", 1) == 0; }();
    (void)homeSet;
    using namespace vistrel;
    IniFile ini = ParseIniBytes({data, size});

    std::string again;
    const std::string* section = nullptr;
    for (const auto& e : ini.entries()) {
        CheckText(e.section);
        CheckText(e.key);
        CheckText(e.value);
        Check(!e.key.empty() && e.value.size() <= kMaxIniValueBytes);
        auto found = ini.Find(e.section, e.key);
        Check(found && *found == e.value);
        if (!section || *section != e.section) {
            again += "[" + e.section + "]\n";
            section = &e.section;
        }
        again += e.key + "=\"" + e.value + "\"\n"; // the quotes keep blanks and quotes of the value
    }
    IniFile reread = IniFile::Parse(again);
    Check(reread.entries().size() == ini.entries().size());
    for (size_t i = 0; i < ini.entries().size(); ++i) {
        const auto& a = ini.entries()[i];
        const auto& b = reread.entries()[i];
        Check(a.section == b.section && a.key == b.key && a.value == b.value);
    }

    Translator tr = Translator::FromIni(std::move(ini));
    for (const auto& dialog : AllDialogTexts()) {
        auto shown = TranslateDialog(tr, dialog);
        Check(shown && shown->controls.size() == dialog.controls.size());
        Check(IsValidUtf8(shown->title));
        for (const auto& [id, text] : shown->controls)
            Check(IsValidUtf8(text) && !text.empty());
    }
    CEnv env;
    std::vector<std::vector<uint32_t>> menu(6);
    for (const auto& [id, text] : env.m_mapDefaultText)
        menu[id % 6].push_back(id);
    auto texts = TranslateMainMenu(tr, env, menu);
    Check(texts && texts->titles.size() == 6 && texts->items.size() == env.m_mapDefaultText.size());
    for (const auto& [id, text] : env.m_mapMenuText)
        Check(IsValidUtf8(text) && !text.empty());
    return 0;
}
