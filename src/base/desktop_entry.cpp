#include "base/desktop_entry.h"

#include "base/child_process.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace vistrel {

namespace {

constexpr std::streamsize kMaxEntryBytes = 256 * 1024;

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// The string escapes every value of a desktop file may hold.
std::string UnescapeValue(std::string_view value)
{
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const char next = value[++i];
        switch (next) {
        case 's': out += ' '; break;
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'r': out += '\r'; break;
        case '\\': out += '\\'; break;
        default: // an Exec escape, undone when the line is split
            out += '\\';
            out += next;
            break;
        }
    }
    return out;
}

bool IsFileCode(char code) { return code == 'f' || code == 'F' || code == 'u' || code == 'U'; }

bool IsFileCodeWord(std::string_view word) { return word.size() == 2 && word[0] == '%' && IsFileCode(word[1]); }

// One word with its field codes: %% a '%', a file code the file (when one is
// given and none has taken it yet), every other code dropped. nullopt when the
// word was nothing but dropped codes.
std::optional<std::string> FillWord(const std::string& word, const std::string* file, bool& fileTaken)
{
    std::string filled;
    bool dropped = false;
    for (size_t i = 0; i < word.size(); ++i) {
        if (word[i] != '%' || i + 1 == word.size()) {
            filled += word[i];
            continue;
        }
        const char code = word[++i];
        if (code == '%') {
            filled += '%';
        } else if (file && IsFileCode(code) && !fileTaken) {
            filled += *file;
            fileTaken = true;
        } else {
            dropped = true;
        }
    }
    if (dropped && filled.empty())
        return std::nullopt;
    return filled;
}

bool IsQuotedEscape(char c) { return c == '"' || c == '`' || c == '$' || c == '\\'; }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

bool IsFile(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsExecutableFile(const std::string& path)
{
    return path.find('/') != std::string::npos && IsFile(path) && access(path.c_str(), X_OK) == 0;
}

std::string EnvOr(const char* name, const std::string& fallback)
{
    const char* value = std::getenv(name);
    return value && *value ? std::string(value) : fallback;
}

std::optional<std::string> ReadSmallFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string text(size_t(kMaxEntryBytes) + 1, '\0');
    in.read(text.data(), kMaxEntryBytes + 1);
    if (in.gcount() > kMaxEntryBytes)
        return std::nullopt;
    text.resize(size_t(in.gcount()));
    return text;
}

} // namespace

std::optional<DesktopEntry> ParseDesktopEntry(std::string_view text)
{
    DesktopEntry entry;
    bool inEntry = false, hidden = false, application = true;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        const size_t equals = line.find('=');
        if (!inEntry || equals == std::string_view::npos)
            continue;
        const std::string_view key = Trim(line.substr(0, equals));
        const std::string value = UnescapeValue(Trim(line.substr(equals + 1)));
        if (key == "Name")
            entry.name = value;
        else if (key == "Exec")
            entry.exec = value;
        else if (key == "Hidden")
            hidden = value == "true";
        else if (key == "Type")
            application = value == "Application";
    }
    if (entry.name.empty() || entry.exec.empty() || hidden || !application)
        return std::nullopt;
    return entry;
}

std::optional<std::vector<ExecWord>> SplitExecLine(std::string_view exec)
{
    std::vector<ExecWord> words;
    size_t i = 0;
    while (i < exec.size()) {
        if (IsBlank(exec[i])) {
            ++i;
            continue;
        }
        ExecWord word;
        bool onlyQuoted = true;
        while (i < exec.size() && !IsBlank(exec[i])) {
            if (exec[i] != '"') {
                onlyQuoted = false;
                word.text += exec[i++];
                continue;
            }
            ++i;
            while (i < exec.size() && exec[i] != '"') {
                if (exec[i] == '\\' && i + 1 < exec.size() && IsQuotedEscape(exec[i + 1]))
                    ++i;
                word.text += exec[i++];
            }
            if (i == exec.size())
                return std::nullopt;
            ++i;
        }
        word.quoted = onlyQuoted;
        words.push_back(std::move(word));
    }
    if (words.empty())
        return std::nullopt;
    return words;
}

std::vector<std::string> FillExecFields(const std::vector<ExecWord>& words, const std::string& file)
{
    std::vector<std::string> argv;
    bool fileTaken = false;
    for (const ExecWord& word : words)
        if (auto filled = FillWord(word.text, &file, fileTaken))
            argv.push_back(std::move(*filled));
    if (!fileTaken)
        argv.push_back(file);
    return argv;
}

std::vector<std::string> FillExecPlaceholder(const std::vector<ExecWord>& words, const std::string& value)
{
    auto placeholder = [](bool quoted) {
        return [quoted](const ExecWord& w) { return w.quoted == quoted && IsFileCodeWord(w.text); };
    };
    auto place = std::find_if(words.begin(), words.end(), placeholder(true));
    if (place == words.end())
        place = std::find_if(words.begin(), words.end(), placeholder(false));
    std::vector<std::string> argv;
    bool noFile = false;
    for (auto word = words.begin(); word != place; ++word)
        if (auto filled = FillWord(word->text, nullptr, noFile))
            argv.push_back(std::move(*filled));
    argv.push_back(value);
    return argv;
}

std::optional<std::vector<std::string>> ToolArguments(const std::string& command, const std::string& file)
{
    if (IsExecutableFile(command))
        return std::vector<std::string> {command, file};
    const auto words = SplitExecLine(command);
    if (!words)
        return std::nullopt;
    return FillExecFields(*words, file);
}

std::vector<std::string> DesktopEntryPaths(std::string_view desktopId, const std::string& dataHome,
                                           std::string_view dataDirs)
{
    std::vector<std::string> paths;
    if (desktopId.find('/') != std::string_view::npos || desktopId.starts_with('.') ||
        !desktopId.ends_with(".desktop"))
        return paths;
    std::vector<std::string> bases;
    if (!dataHome.empty())
        bases.push_back(dataHome);
    if (dataDirs.empty())
        dataDirs = "/usr/local/share:/usr/share";
    while (!dataDirs.empty()) {
        const size_t colon = std::min(dataDirs.find(':'), dataDirs.size());
        if (colon > 0)
            bases.emplace_back(dataDirs.substr(0, colon));
        dataDirs.remove_prefix(std::min(colon + 1, dataDirs.size()));
    }
    // "kde4-kate.desktop" may also be kde4/kate.desktop.
    std::vector<std::string> names {std::string(desktopId)};
    std::string nested(desktopId);
    for (size_t dash = nested.find('-'); dash != std::string::npos; dash = nested.find('-', dash + 1)) {
        nested[dash] = '/';
        names.push_back(nested);
    }
    for (const std::string& base : bases)
        for (const std::string& name : names)
            paths.push_back(base + "/applications/" + name);
    return paths;
}

std::string FindDesktopFile(std::string_view desktopId)
{
    const std::string home = EnvOr("HOME", "");
    const std::string dataHome = EnvOr("XDG_DATA_HOME", home.empty() ? "" : home + "/.local/share");
    for (std::string& path : DesktopEntryPaths(desktopId, dataHome, EnvOr("XDG_DATA_DIRS", "")))
        if (IsFile(path))
            return std::move(path);
    return {};
}

std::optional<DesktopEntry> LoadDesktopEntry(std::string_view desktopId)
{
    const std::string path = FindDesktopFile(desktopId);
    if (path.empty())
        return std::nullopt;
    const auto text = ReadSmallFile(path);
    return text ? ParseDesktopEntry(*text) : std::nullopt;
}

std::optional<DesktopEntry> DefaultApplicationFor(const std::string& mimeType, int timeLimitMs)
{
    const ChildOutcome answer = RunProgram({"xdg-mime", "query", "default", mimeType}, timeLimitMs);
    if (!answer.succeeded())
        return std::nullopt;
    std::string_view id = answer.output;
    id = Trim(id.substr(0, std::min(id.find('\n'), id.size())));
    return LoadDesktopEntry(id);
}

bool StartToolOn(const std::string& command, const std::string& file)
{
    const auto argv = ToolArguments(command, file);
    return argv && StartDetached(*argv) == DetachedStart::Started;
}

} // namespace vistrel
