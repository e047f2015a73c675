#include "desktop/core/desktop_entry.h"

#include "base/child_process.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
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

bool IsExecutableFile(const std::string& path)
{
    struct stat st {};
    return path.find('/') != std::string::npos && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

bool IsFile(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::vector<std::string> ApplicationFolders()
{
    std::vector<std::string> folders;
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    if (dataHome && *dataHome)
        folders.push_back(std::string(dataHome) + "/applications");
    else if (home && *home)
        folders.push_back(std::string(home) + "/.local/share/applications");
    const char* dirs = std::getenv("XDG_DATA_DIRS");
    std::string_view list = dirs && *dirs ? dirs : "/usr/local/share:/usr/share";
    while (!list.empty()) {
        const size_t colon = std::min(list.find(':'), list.size());
        if (colon > 0)
            folders.push_back(std::string(list.substr(0, colon)) + "/applications");
        list.remove_prefix(std::min(colon + 1, list.size()));
    }
    return folders;
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
    std::istringstream lines {std::string(text)};
    for (std::string raw; std::getline(lines, raw);) {
        const std::string_view line = Trim(raw);
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

std::optional<std::vector<std::string>> SplitExecLine(std::string_view exec)
{
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false;
    for (size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (quoted) {
            if (c == '"') {
                quoted = false;
            } else if (c == '\\' && i + 1 < exec.size() && std::string_view("\"`$\\").find(exec[i + 1]) != std::string_view::npos) {
                word += exec[++i];
            } else {
                word += c;
            }
        } else if (c == ' ' || c == '\t' || c == '\n') {
            if (inWord)
                words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else if (c == '"') {
            quoted = inWord = true;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quoted)
        return std::nullopt;
    if (inWord)
        words.push_back(std::move(word));
    if (words.empty())
        return std::nullopt;
    return words;
}

std::vector<std::string> FillExecFields(const std::vector<std::string>& words, const std::string& file)
{
    std::vector<std::string> argv;
    bool fileTaken = false;
    for (const std::string& word : words) {
        if (word == "%f" || word == "%F" || word == "%u" || word == "%U") {
            if (!fileTaken)
                argv.push_back(file);
            fileTaken = true;
            continue;
        }
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
            } else if (std::string_view("fFuU").find(code) != std::string_view::npos && !fileTaken) {
                filled += file;
                fileTaken = true;
            } else {
                dropped = true;
            }
        }
        if (!filled.empty() || !dropped)
            argv.push_back(std::move(filled));
    }
    if (!fileTaken)
        argv.push_back(file);
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

std::string FindDesktopFile(std::string_view desktopId)
{
    if (desktopId.empty() || desktopId.find('/') != std::string_view::npos || !desktopId.ends_with(".desktop"))
        return {};
    for (const std::string& folder : ApplicationFolders()) {
        if (std::string path = folder + "/" + std::string(desktopId); IsFile(path))
            return path;
        // "kde-foo.desktop" may be applications/kde/foo.desktop.
        std::string nested(desktopId);
        for (size_t dash = nested.find('-'); dash != std::string::npos; dash = nested.find('-', dash + 1)) {
            nested[dash] = '/';
            if (std::string path = folder + "/" + nested; IsFile(path))
                return path;
        }
    }
    return {};
}

std::optional<DesktopEntry> DefaultApplicationFor(const std::string& mimeType)
{
    const ChildOutcome answer = RunProgram({"xdg-mime", "query", "default", mimeType}, 3000);
    if (!answer.succeeded())
        return std::nullopt;
    std::string_view id = Trim(answer.output);
    if (const size_t end = id.find('\n'); end != std::string_view::npos)
        id = Trim(id.substr(0, end));
    const std::string path = FindDesktopFile(id);
    if (path.empty())
        return std::nullopt;
    const auto text = ReadSmallFile(path);
    return text ? ParseDesktopEntry(*text) : std::nullopt;
}

} // namespace vistrel
