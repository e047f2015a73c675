// Settings reader on arbitrary bytes: it must never read past the data, crash or
// allocate more than the data could hold; whatever it stores must be valid for
// its field; and a file it read whole must survive a write and a second read
// unchanged. The reader itself looks nothing up (no PATH search for tools).
#include "settings/env.h"
#include "settings/settings_fields.h"
#include "settings/settings_file.h"

#include <cstdlib>
#include <span>

namespace {

bool StoredValuesValid(const vistrel::CEnv& env)
{
    using namespace vistrel;
    for (const auto& field : SettingsFields()) {
        bool ok = true;
        switch (field.kind) {
        case FieldKind::Folder: {
            const std::string& folder = env.*std::get<std::string CEnv::*>(field.member);
            ok = ValidFolder(folder) == folder;
            break;
        }
        case FieldKind::NamePart:
            ok = IsValidNamePart(env.*std::get<std::string CEnv::*>(field.member));
            break;
        case FieldKind::Color:
            ok = IsValidColor(env.*std::get<uint32_t CEnv::*>(field.member));
            break;
        case FieldKind::Hotkey:
            ok = IsValidHotkey(env.*std::get<HotkeySetting CEnv::*>(field.member));
            break;
        case FieldKind::Flag:
            ok = IsValidFlag(env.*std::get<int32_t CEnv::*>(field.member));
            break;
        case FieldKind::CaptureType:
            ok = IsValidCaptureType(env.*std::get<int32_t CEnv::*>(field.member));
            break;
        case FieldKind::Number16:
        case FieldKind::ToolList:
        case FieldKind::LanguageFile:
            break;
        }
        if (!ok)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Default folders hang from an absolute home, as they do in the program.
    static const bool homeSet = [] { return setenv("VISTREL_HOME", "/nonexistent-vistrel-fuzz", 1) == 0; }();
    (void)homeSet;
    vistrel::CEnv env;
    std::string language;
    auto result = vistrel::DeserializeSettings(std::span<const uint8_t>(data, size), env, language);
    if (!StoredValuesValid(env))
        std::abort();
    if (!result.complete)
        return 0;
    std::vector<uint8_t> again = vistrel::SerializeSettings(env, language);
    vistrel::CEnv reread;
    std::string language2;
    auto second = vistrel::DeserializeSettings(again, reread, language2);
    // An empty list is written with a count of 0, which asks for its default entry.
    const size_t emptyLists = size_t(env.m_bitmapTools.empty()) + size_t(env.m_aviTools.empty());
    if (!second.complete || second.defaultToolWanted.size() != emptyLists ||
        vistrel::SettingsToJson(env, language, {}) != vistrel::SettingsToJson(reread, language2, {}))
        std::abort();
    return 0;
}
