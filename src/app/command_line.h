#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vistrel {

struct CommandLine {
    bool help = false;
    bool printSettings = false;
    std::vector<std::string> assignments; // --set FIELD=VALUE
    std::vector<std::string> capture;     // --capture SHAPE [POINTS...]
    bool noCursor = false;
    std::vector<std::string> iconFiles; // --icons FILE...
    std::string iconSaveAll;            // --save-all DIR
    std::string iconSearch;             // --icon-search DIR
    bool searchIco = true, searchDll = false, searchExe = false; // --types
    bool noSubFolders = false;
    std::string home;
    // Whatever is not one of our options, joined by blanks: the command line whose
    // last character '0' starts the program minimised (autorun passes " 0").
    std::string rest;
};

// nullopt with the message in error when the words do not parse.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args, std::string& error);

extern const char* const kUsageText;

} // namespace vistrel
