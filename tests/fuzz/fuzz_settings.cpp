// Settings reader on arbitrary bytes: it must never read past the data, crash or
// allocate more than the data could hold, and a file it read whole must survive
// a write and a second read unchanged.
#include "settings/env.h"
#include "settings/settings_fields.h"
#include "settings/settings_file.h"

#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool homeSet = [] { return setenv("VISTREL_HOME", "/nonexistent-vistrel-fuzz", 1) == 0; }();
    (void)homeSet;
    vistrel::CEnv env;
    std::string language;
    auto result = vistrel::DeserializeSettings(std::span<const uint8_t>(data, size), env, language);
    if (!result.complete)
        return 0;
    std::vector<uint8_t> again = vistrel::SerializeSettings(env, language);
    vistrel::CEnv reread;
    std::string language2;
    auto second = vistrel::DeserializeSettings(again, reread, language2);
    // An empty list is stored as a count of 0, which reads back as the one default entry.
    for (auto list : {&vistrel::CEnv::m_bitmapTools, &vistrel::CEnv::m_aviTools}) {
        if ((env.*list).empty()) {
            if ((reread.*list).size() != 1)
                std::abort();
            (reread.*list).clear();
        }
    }
    if (!second.complete ||
        vistrel::SettingsToJson(env, language, {}) != vistrel::SettingsToJson(reread, language2, {}))
        std::abort();
    return 0;
}
