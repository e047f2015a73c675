#include "help/core/browser_command.h"

#include <algorithm>

namespace vistrel {

namespace {

bool IsAddressCode(std::string_view text)
{
    return text == "%u" || text == "%U" || text == "%f" || text == "%F";
}

// The other field codes are dropped and "%%" is a percent sign; an argument
// that was nothing but a dropped code goes away.
std::optional<std::string> WithoutOtherCodes(const std::string& text)
{
    std::string out;
    bool dropped = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        ++i;
        if (text[i] == '%')
            out += '%';
        else
            dropped = true;
    }
    if (dropped && out.empty())
        return std::nullopt;
    return out;
}

// Inside double quotes a backslash makes these characters plain.
bool IsQuotedEscape(char c) { return c == '"' || c == '`' || c == '$' || c == '\\'; }

} // namespace

std::optional<std::vector<ExecArgument>> SplitExecLine(std::string_view exec)
{
    std::vector<ExecArgument> args;
    size_t i = 0;
    while (i < exec.size()) {
        if (exec[i] == ' ' || exec[i] == '\t') {
            ++i;
            continue;
        }
        ExecArgument arg;
        const size_t start = i;
        bool onlyQuoted = true;
        while (i < exec.size() && exec[i] != ' ' && exec[i] != '\t') {
            if (exec[i] != '"') {
                onlyQuoted = false;
                arg.text += exec[i++];
                continue;
            }
            ++i;
            while (i < exec.size() && exec[i] != '"') {
                if (exec[i] == '\\' && i + 1 < exec.size() && IsQuotedEscape(exec[i + 1]))
                    ++i;
                arg.text += exec[i++];
            }
            if (i == exec.size())
                return std::nullopt;
            ++i;
        }
        arg.quoted = onlyQuoted && i > start;
        args.push_back(std::move(arg));
    }
    return args;
}

std::vector<std::string> BrowserCommand(std::string_view exec, std::string_view url)
{
    const auto args = SplitExecLine(exec);
    if (!args || args->empty())
        return {};
    auto isCode = [](bool quoted) {
        return [quoted](const ExecArgument& a) { return a.quoted == quoted && IsAddressCode(a.text); };
    };
    auto place = std::find_if(args->begin(), args->end(), isCode(true));
    if (place == args->end())
        place = std::find_if(args->begin(), args->end(), isCode(false));
    std::vector<std::string> command;
    for (auto it = args->begin(); it != place; ++it)
        if (auto text = WithoutOtherCodes(it->text))
            command.push_back(std::move(*text));
    if (command.empty() || command.front().empty())
        return {};
    command.emplace_back(url);
    return command;
}

namespace {

std::string_view Trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::string UnescapeValue(std::string_view value)
{
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        switch (value[++i]) {
        case 's': out += ' '; break;
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'r': out += '\r'; break;
        case '\\': out += '\\'; break;
        default: out += '\\', out += value[i]; break; // the Exec quoting's own escapes
        }
    }
    return out;
}

} // namespace

std::optional<std::string> DesktopEntryExec(std::string_view fileText)
{
    bool inEntry = false;
    while (!fileText.empty()) {
        const size_t end = fileText.find('\n');
        const std::string_view line = Trimmed(fileText.substr(0, end));
        fileText.remove_prefix(end == std::string_view::npos ? fileText.size() : end + 1);
        if (line.starts_with('[')) {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        if (!inEntry || line.starts_with('#'))
            continue;
        const size_t eq = line.find('=');
        if (eq != std::string_view::npos && Trimmed(line.substr(0, eq)) == "Exec")
            return UnescapeValue(Trimmed(line.substr(eq + 1)));
    }
    return std::nullopt;
}

std::vector<std::string> DesktopEntryPaths(std::string_view id, const std::string& dataHome, std::string_view dataDirs)
{
    std::vector<std::string> paths;
    if (id.empty() || id.find('/') != std::string_view::npos || id.starts_with('.'))
        return paths;
    std::vector<std::string> bases;
    if (!dataHome.empty())
        bases.push_back(dataHome);
    if (dataDirs.empty())
        dataDirs = "/usr/local/share:/usr/share";
    while (!dataDirs.empty()) {
        const size_t colon = dataDirs.find(':');
        if (std::string_view dir = dataDirs.substr(0, colon); !dir.empty())
            bases.emplace_back(dir);
        dataDirs.remove_prefix(colon == std::string_view::npos ? dataDirs.size() : colon + 1);
    }
    // "kde4-kate.desktop" may also be kde4/kate.desktop.
    std::vector<std::string> names{std::string(id)};
    for (size_t dash = id.find('-'); dash != std::string_view::npos; dash = id.find('-', dash + 1)) {
        std::string nested(id);
        std::replace(nested.begin(), nested.begin() + std::ptrdiff_t(dash) + 1, '-', '/');
        names.push_back(std::move(nested));
    }
    for (const auto& base : bases)
        for (const auto& name : names)
            paths.push_back(base + "/applications/" + name);
    return paths;
}

} // namespace vistrel
