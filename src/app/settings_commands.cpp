#include "app/settings_commands.h"

#include "settings/env.h"
#include "settings/settings_fields.h"

namespace vistrel {

int ApplySettingAssignments(const std::vector<std::string>& assignments, std::string& error)
{
    CEnv changed = theEnv;
    std::string language = g_strLanguageFile;
    for (const std::string& assignment : assignments) {
        if (auto refusal = SetSettingsField(changed, language, assignment)) {
            error = *refusal;
            return 2;
        }
    }
    theEnv = std::move(changed);
    g_strLanguageFile = std::move(language);
    return 0;
}

} // namespace vistrel
