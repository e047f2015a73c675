#pragma once
// The bytes of "capture.cfg": a signature string "config", then every field of
// the settings table in order. Little-endian integers; strings with a 1-, 3- or
// 7-byte length prefix and no terminator.

#include "settings/env.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vistrel {

std::vector<uint8_t> SerializeSettings(const CEnv& env, const std::string& languageFile);

struct SettingsField;

struct SettingsReadResult {
    bool signatureMatched = false;
    bool complete = false;  // every field was read
    std::string error;      // why reading stopped early
    // Tool lists stored with a count of 0: each asks for its one default entry.
    // Finding that program is left to the caller (CEnv::Load), so reading stays
    // a function of the bytes alone.
    std::vector<const SettingsField*> defaultToolWanted;
};

// Reads the fields into env and languageFile. A field is stored only when it was
// read whole and its value is valid (settings_fields.h); an invalid value leaves
// the field as it was. Reading stops at the first field that runs past the end
// or holds an impossible length, keeping what was read before it. A foreign
// signature changes nothing. Never reads past the data nor allocates more than
// it holds; no other input or output.
SettingsReadResult DeserializeSettings(std::span<const uint8_t> data, CEnv& env,
                                       std::string& languageFile);

} // namespace vistrel
