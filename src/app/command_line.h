#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vistrel {

struct CommandLine {
    bool help = false;
    bool version = false;
    bool printMan = false;
    bool printSettings = false;
    std::vector<std::string> assignments; // --set FIELD=VALUE
    std::vector<std::string> capture;     // --capture SHAPE [POINTS...]
    bool noCursor = false;
    std::vector<std::string> iconFiles; // --icons FILE...
    std::string iconSaveAll;            // --save-all DIR
    std::string iconSearch;             // --icon-search DIR
    bool searchIco = true, searchDll = false, searchExe = false; // --types
    bool noSubFolders = false;
    std::vector<std::string> record;  // --record fullscreen | area X Y W H
    std::optional<std::string> recordSeconds, recordCodec, recordRate, recordQuality;
    bool listCodecs = false;
    std::vector<std::string> convert; // --convert IN OUT
    bool replace = false;             // --replace
    std::string info;                 // --info FILE
    std::vector<std::string> wallpaper; // --wallpaper FILE STYLE | restore
    std::vector<std::string> timer; // --timer X Y W H
    std::optional<std::string> timerInterval, timerCount;
    std::string select;       // --select SHAPE
    bool recordDialog = false; // --record-dialog
    std::string home;
    // Whatever is not one of our options, joined by blanks: the command line whose
    // last character '0' starts the program minimised (autorun passes " 0").
    std::string rest;
};

// Whether the command is one of the recorder's (--record, --list-codecs).
bool IsRecordCommand(const CommandLine& commandLine);

// Whether the command is a timer capture (--timer).
bool IsTimerCommand(const CommandLine& commandLine);

// nullopt with the message in error when the words do not parse.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args, std::string& error);

} // namespace vistrel
