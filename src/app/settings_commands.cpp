#include "app/settings_commands.h"

#include "base/registry_store.h"
#include "settings/env.h"
#include "settings/preferences.h"
#include "settings/settings_fields.h"

#include <utility>
#include <vector>

namespace vistrel {

int ApplySettingAssignments(const std::vector<std::string>& assignments, std::string& error)
{
    CEnv changed = theEnv;
    std::string language = g_strLanguageFile;
    std::vector<std::pair<std::string, uint32_t>> preferences;
    for (const std::string& assignment : assignments) {
        const size_t equals = assignment.find('=');
        if (equals != std::string::npos && FindPreference(std::string_view(assignment).substr(0, equals))) {
            const auto value = ParsePreferenceValue(std::string_view(assignment).substr(equals + 1));
            if (!value) {
                error = assignment.substr(0, equals) + " takes 0 or 1";
                return 2;
            }
            preferences.emplace_back(assignment.substr(0, equals), *value);
            continue;
        }
        if (auto refusal = SetSettingsField(changed, language, assignment)) {
            error = *refusal;
            return 2;
        }
    }
    if (!preferences.empty()) {
        RegistryStore store(RegistryStore::DefaultPath());
        for (const auto& [name, value] : preferences)
            store.SetDword(std::string(kPreferencesKey), name, value);
        if (!store.Save()) {
            error = "cannot write " + RegistryStore::DefaultPath();
            return 1;
        }
    }
    theEnv = std::move(changed);
    g_strLanguageFile = std::move(language);
    return 0;
}

} // namespace vistrel
