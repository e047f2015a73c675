#include "app/command_line.h"

#include "settings/preferences.h"

#include <algorithm>

namespace vistrel {

namespace {

const char* const kUsageText =
    "Usage: vistrel [OPTION]... [0]\n"
    "Screen capture for the X desktop.\n"
    "\n"
    "Without a command the program's window opens (a last argument 0 opens it\n"
    "minimised); while a copy runs for the same program folder, that copy shows\n"
    "its window instead, and --set, --capture and --timer are carried out by it.\n"
    "\n"
    "  --home DIR               use DIR as the program folder (settings, captures,\n"
    "                           language files); VISTREL_HOME does the same\n"
    "  --print-settings         print the stored settings as one JSON object\n"
    "  --set FIELD=VALUE        change a setting and save (repeatable); integers in\n"
    "                           decimal or 0x hex, hotkeys as MODIFIERS,VIRTUALKEY\n"
    "                           (1 Alt, 2 Ctrl, 4 Shift; Windows key codes)\n"
    "                           In the window, every setting can also be changed\n"
    "                           on the Options sheet (Tools > Option...)\n"
    "  --capture SHAPE [POINTS] capture a still image into the bitmap folder and\n"
    "                           print its path. SHAPE is one of:\n"
    "                             fullscreen\n"
    "                             rectangle X1 Y1 X2 Y2\n"
    "                             ellipse X1 Y1 X2 Y2\n"
    "                             circle CX CY X Y\n"
    "                             polygon X1 Y1 X2 Y2 X3 Y3 ...\n"
    "                             window   (the window under the pointer)\n"
    "                             area X Y W H\n"
    "  --no-cursor              leave the mouse cursor out of the capture\n"
    "  --timer X Y W H          capture the area every --interval seconds into the\n"
    "                           bitmap folder, printing each path as it is saved,\n"
    "                           until --count shots are taken, the process gets\n"
    "                           SIGINT or SIGTERM, or the window's timer hotkey\n"
    "                           stops it; --no-cursor leaves the cursor out\n"
    "    --interval S           whole seconds between shots, 1 to 86400; the first\n"
    "                           shot comes one interval after the start\n"
    "    --count N              stop after N shots (default: no limit)\n"
    "  --icons FILE...          list the icon groups of each EXE or DLL file, one a\n"
    "                           line with the size and depth of their images\n"
    "    --save-all DIR         instead write every group as an .ico file into DIR\n"
    "                           (group 3 of tools.dll: DIR/tools3.ico; a later group\n"
    "                           of the same name: tools3_001.ico); an existing\n"
    "                           file is never replaced\n"
    "  --icon-search DIR        search DIR and its sub-folders for icons and write\n"
    "                           them into the icon folder (a taken name gives\n"
    "                           NAME_001.ico, an icon there already is skipped);\n"
    "                           prints each file written, then \"Icon Files: N\".\n"
    "                           DIR \"C:\" is the root \"/\"\n"
    "    --types LIST           file types to search, of ico,dll,exe (default ico)\n"
    "    --no-subfolders        search DIR alone\n"
    "  --record fullscreen      record the screen into a new AVI file in the AVI\n"
    "  --record area X Y W H    folder, until --seconds have passed or the\n"
    "                           process gets SIGINT or SIGTERM; prints its path\n"
    "    --seconds S            how long (a number above 0, fractions allowed)\n"
    "    --codec FOURCC         the compressor, one of --list-codecs\n"
    "    --rate FPS             frames per second, 1 to 200 (default 20)\n"
    "    --quality Q            compressor quality, 0 to 100 (default 65)\n"
    "  --list-codecs            the installed compressors: FourCC, a tab, the\n"
    "                           description, one a line\n"
    "  --convert IN OUT         convert the picture IN (.bmp, .gif, .jpg, .png,\n"
    "                           .tif) into OUT, of the type OUT's name ends in (one\n"
    "                           of the same); OUT appears whole or not at all\n"
    "    --replace              replace an OUT that exists (else it is left alone\n"
    "                           and the exit status is 1)\n"
    "  --info FILE              print the picture's width, height and bits per\n"
    "                           pixel as the preview shows them: \" W x H x BPP\"\n"
    "  --wallpaper FILE STYLE   make the picture FILE the desktop's wallpaper,\n"
    "                           STYLE one of center, tile, stretch; the running\n"
    "                           desktop's setting (GNOME, Cinnamon, MATE, Xfce)\n"
    "                           or, with none, the X root window's background.\n"
    "                           The wallpaper from before the first change is\n"
    "                           remembered until:\n"
    "  --wallpaper restore      bring back the wallpaper from before\n"
    "  --help                   show this text\n"
    "\n"
    "A capture never replaces a file: a name that is taken is skipped, and the\n"
    "stored number is saved before the path is printed. Commands of one program\n"
    "folder run one at a time; a later one waits for the one before. While the\n"
    "window runs, they are carried out there.\n"
    "\n"
    "The window captures the full screen, shapes chosen with the mouse and single\n"
    "windows, extracts icons, records (Ctrl+F6), takes timed captures, and lists\n"
    "this run's captures with their file and desktop commands.\n"
    "\n"
    "Environment: VISTREL_TRACE=1 prints each hotkey received and capture saved\n"
    "on stderr, and the frame counts of each recording.\n"
    "Exit status: 0 done, 1 failed (a file that cannot be read or written, output\n"
    "that cannot be written, a picture that cannot be read; a capture may be\n"
    "saved while its settings were not: then its path is printed too), 2 refused\n"
    "(bad option or value, a file that is not a 32-bit module, a file name of a\n"
    "type that is not read or written).\n";

} // namespace

std::string UsageText()
{
    std::string text = kUsageText;
    text += "\nPreferences (registry.ini of the program folder), --set NAME=1 (on) or 0:\n";
    for (const Preference& p : Preferences()) {
        std::string name = "  " + std::string(p.name);
        name.resize(std::max<size_t>(name.size() + 1, 27), ' ');
        text += name + std::string(p.help) + " (default " + std::to_string(p.defaultValue) + ")\n";
    }
    return text;
}

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
                   int(!cl.wallpaper.empty());
    if (commands > 1) {
        error = "give only one of --print-settings, --set, --capture, --icons, --icon-search, --record, "
                "--list-codecs, --convert, --info, --timer and --wallpaper";
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
