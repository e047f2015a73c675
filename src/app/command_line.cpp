#include "app/command_line.h"

#include <algorithm>

namespace vistrel {

namespace {

// "ico,dll,exe" or any part of it.
bool ParseIconTypes(const std::string& list, CommandLine& cl, std::string& error)
{
    cl.searchIco = cl.searchDll = cl.searchExe = false;
    size_t start = 0;
    while (start <= list.size()) {
        const size_t comma = std::min(list.find(',', start), list.size());
        const std::string type = list.substr(start, comma - start);
        if (type == "ico")
            cl.searchIco = true;
        else if (type == "dll")
            cl.searchDll = true;
        else if (type == "exe")
            cl.searchExe = true;
        else {
            error = "--types takes ico, dll and exe separated by commas, not \"" + type + "\"";
            return false;
        }
        start = comma + 1;
    }
    return true;
}

} // namespace

bool IsTimerCommand(const CommandLine& commandLine) { return !commandLine.timer.empty(); }

bool IsRecordCommand(const CommandLine& commandLine)
{
    return !commandLine.record.empty() || commandLine.listCodecs;
}

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args, std::string& error)
{
    CommandLine cl;
    bool typesGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](const char* what) -> std::optional<std::string> {
            if (i + 1 >= args.size()) {
                error = a + " needs " + what;
                return std::nullopt;
            }
            return args[++i];
        };
        // A value and the plain words after it (negative numbers are words too).
        auto valueAndWords = [&](const char* what, std::vector<std::string>& into) {
            auto v = value(what);
            if (!v)
                return false;
            into.push_back(*v);
            while (i + 1 < args.size() && !args[i + 1].starts_with("--"))
                into.push_back(args[++i]);
            return true;
        };
        if (a == "--help" || a == "-h") {
            cl.help = true;
        } else if (a == "--version") {
            cl.version = true;
        } else if (a == "--print-man") {
            cl.printMan = true;
        } else if (a == "--select") {
            auto v = value("a shape");
            if (!v)
                return std::nullopt;
            cl.select = *v;
        } else if (a == "--record-dialog") {
            cl.recordDialog = true;
        } else if (a == "--print-settings") {
            cl.printSettings = true;
        } else if (a == "--no-cursor") {
            cl.noCursor = true;
        } else if (a == "--home") {
            auto v = value("a folder");
            if (!v)
                return std::nullopt;
            cl.home = *v;
        } else if (a.starts_with("--home=")) {
            cl.home = a.substr(7);
        } else if (a == "--set") {
            auto v = value("FIELD=VALUE");
            if (!v)
                return std::nullopt;
            cl.assignments.push_back(*v);
        } else if (a == "--capture") {
            if (!valueAndWords("a shape", cl.capture)) // the points follow as plain words
                return std::nullopt;
        } else if (a == "--icons") {
            if (!valueAndWords("a file", cl.iconFiles))
                return std::nullopt;
        } else if (a == "--save-all") {
            auto v = value("a folder");
            if (!v)
                return std::nullopt;
            cl.iconSaveAll = *v;
        } else if (a == "--icon-search") {
            auto v = value("a folder");
            if (!v)
                return std::nullopt;
            cl.iconSearch = *v;
        } else if (a == "--types") {
            auto v = value("a list of ico,dll,exe");
            if (!v || !ParseIconTypes(*v, cl, error))
                return std::nullopt;
            typesGiven = true;
        } else if (a == "--record") {
            if (!valueAndWords("fullscreen or area X Y W H", cl.record))
                return std::nullopt;
        } else if (a == "--seconds" || a == "--codec" || a == "--rate" || a == "--quality") {
            auto v = value("a value");
            if (!v)
                return std::nullopt;
            auto& slot = a == "--seconds" ? cl.recordSeconds
                         : a == "--codec" ? cl.recordCodec
                         : a == "--rate"  ? cl.recordRate
                                          : cl.recordQuality;
            slot = *v;
        } else if (a == "--timer") {
            if (!valueAndWords("X Y W H", cl.timer))
                return std::nullopt;
        } else if (a == "--interval" || a == "--count") {
            auto v = value("a number");
            if (!v)
                return std::nullopt;
            (a == "--interval" ? cl.timerInterval : cl.timerCount) = *v;
        } else if (a == "--list-codecs") {
            cl.listCodecs = true;
        } else if (a == "--convert") {
            auto in = value("IN and OUT");
            auto out = in ? value("IN and OUT") : std::nullopt;
            if (!out)
                return std::nullopt;
            cl.convert = {*in, *out};
        } else if (a == "--replace") {
            cl.replace = true;
        } else if (a == "--info") {
            auto v = value("a picture file");
            if (!v)
                return std::nullopt;
            cl.info = *v;
        } else if (a == "--wallpaper") {
            if (!valueAndWords("a picture and a style, or restore", cl.wallpaper))
                return std::nullopt;
        } else if (a == "--no-subfolders") {
            cl.noSubFolders = true;
        } else if (a.starts_with("--")) {
            error = "unknown option " + a + " (see --help)";
            return std::nullopt;
        } else {
            cl.rest += (cl.rest.empty() ? "" : " ") + a;
        }
    }
    int commands = int(cl.printSettings) + int(!cl.assignments.empty()) + int(!cl.capture.empty()) +
                   int(!cl.iconFiles.empty()) + int(!cl.iconSearch.empty()) + int(!cl.record.empty()) +
                   int(cl.listCodecs) + int(!cl.convert.empty()) + int(!cl.info.empty()) + int(!cl.timer.empty()) +
                   int(!cl.wallpaper.empty()) + int(!cl.select.empty()) + int(cl.recordDialog);
    if (commands > 1) {
        error = "give only one of --print-settings, --set, --capture, --icons, --icon-search, --record, "
                "--list-codecs, --convert, --info, --timer, --wallpaper, --select and --record-dialog";
        return std::nullopt;
    }
    if (cl.replace && cl.convert.empty()) {
        error = "--replace goes with --convert";
        return std::nullopt;
    }
    if ((cl.timerInterval || cl.timerCount) && cl.timer.empty()) {
        error = "--interval and --count go with --timer";
        return std::nullopt;
    }
    // The plain words a command does not take (its own come right after it)
    // are a mistake, not something to drop silently; only the window's start
    // takes them.
    if (commands > 0 && !cl.rest.empty()) {
        error = "unexpected \"" + cl.rest + "\" (see --help)";
        return std::nullopt;
    }
    if ((cl.recordSeconds || cl.recordCodec || cl.recordRate || cl.recordQuality) && cl.record.empty()) {
        error = "--seconds, --codec, --rate and --quality go with --record";
        return std::nullopt;
    }
    if (!cl.iconSaveAll.empty() && cl.iconFiles.empty()) {
        error = "--save-all goes with --icons";
        return std::nullopt;
    }
    if ((typesGiven || cl.noSubFolders) && cl.iconSearch.empty()) {
        error = "--types and --no-subfolders go with --icon-search";
        return std::nullopt;
    }
    return cl;
}

} // namespace vistrel
