#include "base/registry_store.h"

#include "base/atomic_file.h"
#include "base/program_folder.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>

namespace vistrel {

namespace {

bool SameText(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

// Texts may hold line breaks; the file keeps one entry per line.
std::string Escape(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

std::string Unescape(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            char next = text[++i];
            out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
        } else {
            out += text[i];
        }
    }
    return out;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

RegistryStore::RegistryStore(std::string path) : m_path(std::move(path))
{
    std::ifstream in(m_path);
    std::string line;
    Key* current = nullptr;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            m_keys.push_back({line.substr(1, line.size() - 2), {}});
            current = &m_keys.back();
            continue;
        }
        auto eq = line.find('=');
        if (!current || eq == std::string::npos || eq == 0)
            continue; // comments, blank lines, damage
        std::string name = Unescape(std::string_view(line).substr(0, eq));
        std::string value = line.substr(eq + 1);
        if (value.starts_with("sz:") || value.starts_with("dword:") || value.starts_with("hex:"))
            current->values.push_back({std::move(name), std::move(value)});
    }
}

std::string RegistryStore::DefaultPath() { return GetProgramFolder() + "/registry.ini"; }

const RegistryStore::Value* RegistryStore::Find(const std::string& key, const std::string& name) const
{
    for (const Key& k : m_keys)
        if (SameText(k.path, key))
            for (const Value& v : k.values)
                if (SameText(v.name, name))
                    return &v;
    return nullptr;
}

std::optional<std::string> RegistryStore::GetString(const std::string& key, const std::string& name) const
{
    const Value* v = Find(key, name);
    if (!v || !v->encoded.starts_with("sz:"))
        return std::nullopt;
    return Unescape(std::string_view(v->encoded).substr(3));
}

std::optional<uint32_t> RegistryStore::GetDword(const std::string& key, const std::string& name) const
{
    const Value* v = Find(key, name);
    if (!v || !v->encoded.starts_with("dword:"))
        return std::nullopt;
    std::string_view digits = std::string_view(v->encoded).substr(6);
    uint32_t value = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

std::optional<std::vector<uint8_t>> RegistryStore::GetBinary(const std::string& key, const std::string& name) const
{
    const Value* v = Find(key, name);
    if (!v || !v->encoded.starts_with("hex:"))
        return std::nullopt;
    std::string_view hex = std::string_view(v->encoded).substr(4);
    if (hex.size() % 2 != 0)
        return std::nullopt;
    std::vector<uint8_t> bytes;
    bytes.reserve(hex.size() / 2);
    for (size_t i = 0; i < hex.size(); i += 2) {
        int hi = HexDigit(hex[i]), lo = HexDigit(hex[i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        bytes.push_back(uint8_t(hi << 4 | lo));
    }
    return bytes;
}

void RegistryStore::Set(const std::string& key, const std::string& name, std::string encoded)
{
    auto k = std::find_if(m_keys.begin(), m_keys.end(), [&](const Key& x) { return SameText(x.path, key); });
    if (k == m_keys.end()) {
        m_keys.push_back({key, {}});
        k = m_keys.end() - 1;
    }
    for (Value& v : k->values) {
        if (SameText(v.name, name)) {
            v.encoded = std::move(encoded);
            return;
        }
    }
    k->values.push_back({name, std::move(encoded)});
}

void RegistryStore::SetString(const std::string& key, const std::string& name, const std::string& value)
{
    Set(key, name, "sz:" + Escape(value));
}

void RegistryStore::SetDword(const std::string& key, const std::string& name, uint32_t value)
{
    Set(key, name, "dword:" + std::to_string(value));
}

void RegistryStore::SetBinary(const std::string& key, const std::string& name, const std::vector<uint8_t>& value)
{
    static const char digits[] = "0123456789abcdef";
    std::string hex = "hex:";
    for (uint8_t b : value) {
        hex += digits[b >> 4];
        hex += digits[b & 15];
    }
    Set(key, name, std::move(hex));
}

bool RegistryStore::DeleteValue(const std::string& key, const std::string& name)
{
    for (Key& k : m_keys) {
        if (!SameText(k.path, key))
            continue;
        auto v = std::find_if(k.values.begin(), k.values.end(), [&](const Value& x) { return SameText(x.name, name); });
        if (v != k.values.end()) {
            k.values.erase(v);
            return true;
        }
    }
    return false;
}

bool RegistryStore::DeleteKey(const std::string& key)
{
    auto before = m_keys.size();
    std::erase_if(m_keys, [&](const Key& k) { return SameText(k.path, key); });
    return m_keys.size() != before;
}

bool RegistryStore::Save() const
{
    std::string text;
    for (const Key& k : m_keys) {
        text += "[" + k.path + "]\n";
        for (const Value& v : k.values)
            text += Escape(v.name) + "=" + v.encoded + "\n";
        text += "\n";
    }
    return WriteFileAtomically(m_path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

} // namespace vistrel
