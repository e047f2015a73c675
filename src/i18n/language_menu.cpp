#include "i18n/language_menu.h"

#include "base/text_encoding.h"
#include "i18n/language_texts.h"
#include "i18n/translate.h"

#include <algorithm>

namespace vistrel {

std::vector<LanguageMenuItem> BuildLanguageMenu(const std::vector<std::string>& files,
                                                const std::string& chosenFile)
{
    // Past the last id a command would reach no handler, so the list stops there.
    const size_t count = std::min<size_t>(files.size(), ID_LANGUAGE_LAST - ID_LANGUAGE_FIRST + 1);
    std::vector<LanguageMenuItem> items;
    items.reserve(count);
    for (size_t i = 0; i < count; ++i)
        items.push_back({ID_LANGUAGE_FIRST + uint32_t(i),
                         Translator(files[i]).Text(kLanguageSection, "Language"), false});
    if (chosenFile.empty())
        return items;
    auto exact = std::find_if(items.begin(), items.end(), [&](const LanguageMenuItem& item) {
        return files[item.command - ID_LANGUAGE_FIRST] == chosenFile;
    });
    if (exact == items.end())
        exact = std::find_if(items.begin(), items.end(), [&](const LanguageMenuItem& item) {
            return EqualNoCase(files[item.command - ID_LANGUAGE_FIRST], chosenFile);
        });
    if (exact != items.end())
        exact->checked = true;
    return items;
}

std::optional<std::string> LanguageFileForCommand(uint32_t command, const std::vector<std::string>& files)
{
    if (command < ID_LANGUAGE_FIRST || command > ID_LANGUAGE_LAST)
        return std::nullopt;
    size_t index = command - ID_LANGUAGE_FIRST;
    if (index >= files.size())
        return std::nullopt;
    return files[index];
}

} // namespace vistrel
