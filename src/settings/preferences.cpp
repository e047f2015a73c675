#include "settings/preferences.h"

#include "base/registry_store.h"

#include <array>

namespace vistrel {

namespace {

constexpr std::array kPreferences {
    Preference {kPrefNotify, 1, "a desktop notification names each saved file",
                "Show a notification when a capture is saved"},
    Preference {kPrefClipboard, 0, "each still capture also goes on the clipboard",
                "Put each still capture on the clipboard"},
    Preference {kPrefAlwaysTray, 0, "the tray icon is always there; a click opens its menu",
                "Always show the tray icon"},
};

} // namespace

std::span<const Preference> Preferences() { return kPreferences; }

const Preference* FindPreference(std::string_view name)
{
    for (const Preference& p : kPreferences)
        if (p.name == name)
            return &p;
    return nullptr;
}

uint32_t ReadPreference(const RegistryStore& store, std::string_view name)
{
    const Preference* p = FindPreference(name);
    if (!p)
        return 0;
    return store.GetDword(std::string(kPreferencesKey), std::string(name)).value_or(p->defaultValue);
}

uint32_t ReadPreference(std::string_view name)
{
    return ReadPreference(RegistryStore(RegistryStore::DefaultPath()), name);
}

std::optional<uint32_t> ParsePreferenceValue(std::string_view text)
{
    if (text == "0")
        return 0;
    if (text == "1")
        return 1;
    return std::nullopt;
}

} // namespace vistrel
