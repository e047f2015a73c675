#pragma once
// Preferences beyond the settings record: kept in the registry store
// (registry.ini), so that capture.cfg keeps its layout. One table names each
// once: its --set name, the registry value, its default and what it does.
// User-interface thread, or a command-line run that holds the program folder.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vistrel {

class RegistryStore;

struct Preference {
    std::string_view name; // for --set, and the registry value's name
    uint32_t defaultValue;
    std::string_view help;  // one line for --help
    std::string_view label; // its control on the Options sheet, and the language files' key
};

inline constexpr std::string_view kPreferencesKey = "Software\\Tessaro Works\\Vistrel\\Preferences";

std::span<const Preference> Preferences();
const Preference* FindPreference(std::string_view name);

// The stored value, or the default when none (or no readable one) is stored.
uint32_t ReadPreference(const RegistryStore& store, std::string_view name);
// Reads the program folder's registry file.
uint32_t ReadPreference(std::string_view name);

// "0" or "1" for a switch; nullopt when the text is neither.
std::optional<uint32_t> ParsePreferenceValue(std::string_view text);

// The switches by name, as the program reads them.
inline constexpr std::string_view kPrefNotify = "notifyAfterCapture";
inline constexpr std::string_view kPrefClipboard = "copyCapturesToClipboard";
inline constexpr std::string_view kPrefAlwaysTray = "alwaysShowTrayIcon";

} // namespace vistrel
