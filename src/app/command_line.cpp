#include "app/command_line.h"

namespace vistrel {

const char* const kUsageText =
    "Usage: vistrel [OPTION]... [0]\n"
    "Screen capture for the X desktop.\n"
    "\n"
    "Without a command the program's window opens (a last argument 0 opens it\n"
    "minimised); while a copy runs for the same program folder, that copy shows\n"
    "its window instead, and --set and --capture are carried out by it.\n"
    "\n"
    "  --home DIR               use DIR as the program folder (settings, captures,\n"
    "                           language files); VISTREL_HOME does the same\n"
    "  --print-settings         print the stored settings as one JSON object\n"
    "  --set FIELD=VALUE        change a setting and save (repeatable); integers in\n"
    "                           decimal or 0x hex, hotkeys as MODIFIERS,VIRTUALKEY\n"
    "                           (1 Alt, 2 Ctrl, 4 Shift; Windows key codes)\n"
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
    "  --help                   show this text\n"
    "\n"
    "A capture never replaces a file: a name that is taken is skipped, and the\n"
    "stored number is saved before the path is printed. Commands of one program\n"
    "folder run one at a time; a later one waits for the one before.\n"
    "\n"
    "The window so far receives the hotkeys; capturing from it, region selection\n"
    "with the mouse, timed captures, recording, icon extraction and the library\n"
    "of captured files are still to come.\n"
    "\n"
    "Environment: VISTREL_TRACE=1 prints each hotkey received and capture saved.\n"
    "Exit status: 0 done, 1 failed (the capture may be saved while its settings\n"
    "were not: then its path is printed too), 2 refused (bad option or value).\n";

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args, std::string& error)
{
    CommandLine cl;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](const char* what) -> std::optional<std::string> {
            if (i + 1 >= args.size()) {
                error = a + " needs " + what;
                return std::nullopt;
            }
            return args[++i];
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
            auto v = value("a shape");
            if (!v)
                return std::nullopt;
            cl.capture.push_back(*v);
            // The points follow as plain words; negative numbers are points too.
            while (i + 1 < args.size() && !(args[i + 1].starts_with("--")))
                cl.capture.push_back(args[++i]);
        } else if (a.starts_with("--")) {
            error = "unknown option " + a + " (see --help)";
            return std::nullopt;
        } else {
            cl.rest += (cl.rest.empty() ? "" : " ") + a;
        }
    }
    int commands = int(cl.printSettings) + int(!cl.assignments.empty()) + int(!cl.capture.empty());
    if (commands > 1) {
        error = "give only one of --print-settings, --set and --capture";
        return std::nullopt;
    }
    return cl;
}

} // namespace vistrel
