#include "i18n/ini_file.h"

#include "base/unique_fd.h"

#include "base/text_encoding.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>

namespace vistrel {

namespace {

// The platform's blanks, and Ctrl-Z, which old editors leave at the end.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1A'; }

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string IndexKey(std::string_view section, std::string_view key)
{
    std::string k = FoldCase(section);
    k += '\n'; // never part of a name: lines are split at it
    k += FoldCase(key);
    return k;
}

std::string_view WithoutQuotes(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}


} // namespace

std::optional<std::string_view> IniFile::Find(std::string_view section, std::string_view key) const
{
    auto it = m_index.find(IndexKey(section, key));
    if (it == m_index.end())
        return std::nullopt;
    return std::string_view(m_entries[it->second].value);
}

std::string IniFile::Get(std::string_view section, std::string_view key, std::string_view fallback) const
{
    auto value = Find(section, key);
    return std::string(value ? *value : fallback);
}

IniFile IniFile::Parse(std::string_view text)
{
    IniFile ini;
    std::unordered_set<std::string> sectionsSeen;
    std::string section;
    bool inSection = false; // keys before the first header, or in a repeated section, do not count
    while (!text.empty()) {
        size_t end = text.find_first_of("\r\n");
        std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            size_t close = line.rfind(']');
            if (close != std::string_view::npos) {
                section = std::string(Trim(line.substr(1, close - 1)));
                inSection = sectionsSeen.insert(FoldCase(section)).second;
                continue;
            }
            // No closing bracket: an ordinary line, as the platform reads it.
        }
        size_t eq = line.find('=');
        if (!inSection || eq == std::string_view::npos)
            continue;
        std::string_view key = Trim(line.substr(0, eq));
        if (key.empty())
            continue;
        std::string_view value = CutUtf8(WithoutQuotes(Trim(line.substr(eq + 1))), kMaxIniValueBytes);
        if (ini.m_index.emplace(IndexKey(section, key), ini.m_entries.size()).second)
            ini.m_entries.push_back({section, std::string(key), std::string(value)});
    }
    return ini;
}

IniFile ParseIniBytes(std::span<const unsigned char> bytes, bool* legacyEncoding)
{
    std::string text = DecodeText(bytes, legacyEncoding);
    // A NUL would end the text early for whoever shows it; it has no meaning here.
    std::erase(text, '\0');
    return IniFile::Parse(text);
}

IniReadResult ReadIniFile(const std::string& path)
{
    IniReadResult result;
    auto fail = [&](std::string why) {
        result.error = path + ": " + std::move(why);
        return std::move(result);
    };
    // Non-blocking, so that a pipe carrying the name cannot hold the program.
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.get() < 0)
        return fail(std::strerror(errno));
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return fail(std::strerror(errno));
    if (!S_ISREG(st.st_mode))
        return fail("not a regular file");
    if (st.st_size < 0 || uint64_t(st.st_size) > kMaxLanguageFileBytes)
        return fail("larger than " + std::to_string(kMaxLanguageFileBytes) + " bytes");
    std::vector<unsigned char> bytes(size_t(st.st_size));
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fail(std::strerror(errno));
        if (n == 0)
            break; // shrank while being read: what is there is the file
        done += size_t(n);
    }
    bytes.resize(done);
    result.file = ParseIniBytes(bytes, &result.legacyEncoding);
    return result;
}

} // namespace vistrel
