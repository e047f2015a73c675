#pragma once
// The small key/value store that stands in for the system registry: the file
// "registry.ini" in the program folder. Sections are key paths
// ("Software\Tessaro Works\Vistrel\bars info"), entries are value names with a
// typed value: "sz:" text, "dword:" number, "hex:" bytes. Key paths and value
// names match without regard to case, as the registry's do. Lines it cannot read
// are skipped, never fatal. User-interface thread only.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vistrel {

class RegistryStore {
public:
    // Reads the file if there is one; a missing or damaged file gives what could
    // be read (possibly nothing).
    explicit RegistryStore(std::string path);
    static std::string DefaultPath(); // program folder + "/registry.ini"

    std::optional<std::string> GetString(const std::string& key, const std::string& name) const;
    std::optional<uint32_t> GetDword(const std::string& key, const std::string& name) const;
    std::optional<std::vector<uint8_t>> GetBinary(const std::string& key, const std::string& name) const;

    void SetString(const std::string& key, const std::string& name, const std::string& value);
    void SetDword(const std::string& key, const std::string& name, uint32_t value);
    void SetBinary(const std::string& key, const std::string& name, const std::vector<uint8_t>& value);
    bool DeleteValue(const std::string& key, const std::string& name);
    bool DeleteKey(const std::string& key); // with its values

    // Writes the file atomically; false (old file kept) when it cannot.
    bool Save() const;

private:
    struct Value {
        std::string name;
        std::string encoded; // "sz:...", "dword:...", "hex:..."
    };
    struct Key {
        std::string path;
        std::vector<Value> values;
    };

    const Value* Find(const std::string& key, const std::string& name) const;
    void Set(const std::string& key, const std::string& name, std::string encoded);

    std::string m_path;
    std::vector<Key> m_keys;
};

} // namespace vistrel
