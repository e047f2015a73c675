#include "app/usage.h"

namespace vistrel {

namespace {

constexpr std::string_view kIntro[] = {
    "Screen capture for the X desktop: still images of the full screen, a rectangle, a circle, an ellipse, a "
    "polygon or one window; captures on a timer; AVI recordings of an area of the screen; icons from Windows "
    "executables, libraries and .ico files.",
    "Without a command the program's window opens (a last argument 0 opens it minimised); while a copy runs for "
    "the same program folder, that copy shows its window instead, and --set, --capture, --timer, --record, "
    "--select and --record-dialog are carried out by it.",
};

constexpr OptionDoc kOptions[] = {
    {"--home DIR", "use DIR as the program folder (settings, captures, language files); VISTREL_HOME does the "
                   "same"},
    {"--print-settings", "print the stored settings, with the folders in effect, as one JSON object"},
    {"--set FIELD=VALUE", "change a setting and save (repeatable); integers in decimal or 0x hex, hotkeys as "
                          "MODIFIERS,VIRTUALKEY (1 Alt, 2 Ctrl, 4 Shift; Windows key codes). In the window, every "
                          "setting can also be changed on the Options sheet (Tools > Option...)"},
    {"--capture SHAPE [POINTS]", "capture a still image into the bitmap folder and print its path. SHAPE is one "
                                 "of:\n"
                                 "fullscreen\n"
                                 "rectangle X1 Y1 X2 Y2\n"
                                 "ellipse X1 Y1 X2 Y2\n"
                                 "circle CX CY X Y\n"
                                 "polygon X1 Y1 X2 Y2 X3 Y3 ...\n"
                                 "window   (the window under the pointer)\n"
                                 "area X Y W H"},
    {"--no-cursor", "leave the mouse cursor out of the capture"},
    {"--select SHAPE", "open the window's selection of rectangle, circle, ellipse, polygon or object (the window "
                       "pointed at, taken when the command or the hotkey comes again), as its hotkey does, "
                       "starting the window first when it does not run; prints the saved file's path once the "
                       "selection is finished (exit status 1 when it is cancelled)"},
    {"--record-dialog", "open the window's Record AVI dialog, as its hotkey does (while the dialog records, it "
                        "stops the recording), starting the window first when it does not run"},
    {"--timer X Y W H", "capture the area every --interval seconds into the bitmap folder, printing each path as "
                        "it is saved, until --count shots are taken, the process gets SIGINT or SIGTERM, or the "
                        "window's timer hotkey stops it; --no-cursor leaves the cursor out"},
    {"--interval S", "whole seconds between shots, 1 to 86400; the first shot comes one interval after the start",
     true},
    {"--count N", "stop after N shots (default: no limit)", true},
    {"--icons FILE...", "list the icon groups of each EXE or DLL file, one a line with the size and depth of "
                        "their images"},
    {"--save-all DIR", "instead write every group as an .ico file into DIR (group 3 of tools.dll: DIR/tools3.ico; "
                       "a later group of the same name: tools3_001.ico); an existing file is never replaced",
     true},
    {"--icon-search DIR", "search DIR and its sub-folders for icons and write them into the icon folder (a taken "
                          "name gives NAME_001.ico, an icon there already is skipped); prints each file written, "
                          "then \"Icon Files: N\". DIR \"C:\" is the root \"/\""},
    {"--types LIST", "file types to search, of ico,dll,exe (default ico)", true},
    {"--no-subfolders", "search DIR alone", true},
    {"--record AREA", "record the screen into a new AVI file in the AVI folder, until --seconds have passed or the "
                      "process gets SIGINT or SIGTERM, and print its path. AREA is one of:\n"
                      "fullscreen\n"
                      "area X Y W H"},
    {"--seconds S", "how long (a number above 0, fractions allowed)", true},
    {"--codec FOURCC", "the compressor, one of --list-codecs", true},
    {"--rate FPS", "frames per second, 1 to 200 (default 20)", true},
    {"--quality Q", "compressor quality, 0 to 100 (default 65)", true},
    {"--list-codecs", "the installed compressors: FourCC, a tab, the description, one a line"},
    {"--convert IN OUT", "convert the picture IN (.bmp, .gif, .jpg, .png, .tif) into OUT, of the type OUT's name "
                         "ends in (one of the same); OUT appears whole or not at all"},
    {"--replace", "replace an OUT that exists (else it is left alone and the exit status is 1)", true},
    {"--info FILE", "print the picture's width, height and bits per pixel as the preview shows them: \" W x H x "
                    "BPP\""},
    {"--wallpaper FILE STYLE", "make the picture FILE the desktop's wallpaper, STYLE one of center, tile, stretch: "
                               "the running desktop's setting (GNOME, Cinnamon, MATE, Xfce) or, with none, the X "
                               "root window's background. The wallpaper from before the first change is remembered "
                               "until --wallpaper restore"},
    {"--wallpaper restore", "bring back the wallpaper from before the first change"},
    {"--print-man", "print the manual page that man vistrel shows (roff)"},
    {"--version", "print the version"},
    {"--help", "show this text"},
};

constexpr NoteItem kBehaviour[] = {
    {"", "A capture never replaces a file: a name that is taken is skipped, and the stored number is saved before "
         "the path is printed. Commands of one program folder run one at a time; a later one waits for the one "
         "before. While the window runs, they are carried out there."},
    {"", "The window captures the full screen, shapes chosen with the mouse and single windows, extracts icons, "
         "records (Ctrl+F6), takes timed captures, and lists this run's captures."},
};

constexpr NoteItem kExitStatus[] = {
    {"0", "done"},
    {"1", "failed: a file that cannot be read or written, output that cannot be written, a picture that cannot be "
          "read, a selection that was cancelled; a capture may be saved while its settings were not: then its "
          "path is printed too"},
    {"2", "refused: a bad option or value, a file that is not a 32-bit module, a file name of a type that is not "
          "read or written"},
};

constexpr NoteItem kEnvironment[] = {
    {"VISTREL_HOME", "the program folder, as --home gives it"},
    {"VISTREL_TRACE", "1 prints on stderr each hotkey received and capture saved, and the frame counts of each "
                      "recording"},
    {"XDG_DATA_HOME", "an installed program's folder is $XDG_DATA_HOME/vistrel (default ~/.local/share/vistrel)"},
    {"XDG_CONFIG_HOME", "where user-dirs.dirs names the Pictures and Videos folders (default ~/.config)"},
    {"DISPLAY", "the X display to capture"},
};

constexpr NoteItem kFiles[] = {
    {"PROGRAM/capture.cfg", "the settings (PROGRAM is the program folder)"},
    {"PROGRAM/registry.ini", "the preferences, the window's layout and the hints seen"},
    {"PROGRAM/Language/", "language files of the user's own; shipped ones of the same name give way to them"},
    {"~/Pictures/Vistrel/, ~/Pictures/Vistrel/Icons/, ~/Videos/Vistrel/",
     "where an installed program saves stills, icons and recordings by default (the folders user-dirs.dirs "
     "names); run from a build or an unpacked folder, Capture/Bitmap, Capture/Icon and Capture/AVI of the program "
     "folder"},
    {"/usr/share/vistrel/Language/", "the shipped language files"},
    {"/usr/lib/vistrel/vistrel-recorder.so", "the recorder, loaded by the window on its first recording"},
};

constexpr NoteItem kExamples[] = {
    {"vistrel --capture fullscreen", "capture the screen and print the new file's path"},
    {"vistrel --capture rectangle 10 10 400 300", "capture the rectangle from (10,10) to (400,300)"},
    {"vistrel --select rectangle", "choose a rectangle with the mouse; prints the file's path"},
    {"vistrel --timer 0 0 640 480 --interval 5", "a shot every 5 seconds, each path printed, until Ctrl+C"},
    {"vistrel --set m_nCaptureType=3", "save captures as PNG"},
    {"vistrel --record area 0 0 640 480 --codec MJPG --seconds 10", "record ten seconds of that area"},
    {"vistrel --icons app.exe --save-all out", "write each icon group of app.exe into out/"},
};

constexpr UsageNote kNotes[] = {
    {"", kBehaviour},
    {"Exit status", kExitStatus},
    {"Environment", kEnvironment},
    {"Files", kFiles, false},
    {"Examples", kExamples, false},
};

} // namespace

std::span<const OptionDoc> OptionDocs() { return kOptions; }
std::span<const UsageNote> UsageNotes() { return kNotes; }
std::span<const std::string_view> UsageIntro() { return kIntro; }

} // namespace vistrel
