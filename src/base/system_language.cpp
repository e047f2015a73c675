#include "base/system_language.h"

#include <cstdlib>
#include <string_view>

namespace vistrel {

uint16_t SystemDefaultLangId()
{
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (!value || !*value)
            continue;
        std::string_view locale(value);
        // "zh_CN", "zh_CN.UTF-8", "zh_CN@..." all name mainland China.
        if (locale.starts_with("zh_CN") && (locale.size() == 5 || locale[5] == '.' || locale[5] == '@'))
            return LANGID_CHINESE_PRC;
        return LANGID_ENGLISH_US;
    }
    return LANGID_ENGLISH_US;
}

} // namespace vistrel
