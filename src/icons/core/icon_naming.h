#pragma once
// The texts and file names of icon extraction: group labels as the icon lists
// show them, the names "Save All" and the folder search give the .ico files,
// and the messages about files that hold no icons.

#include "base/text_encoding.h" // Utf8FromUtf16, for the names of text groups
#include "icons/core/icon_module.h"

#include <set>
#include <string>

namespace vistrel {

// "Icon [12]" for a numbered group, "Icon [APPICON]" for a named one (UTF-8).
std::string GroupLabel(const IconGroupName& name);

// "Save All": folder + "/" + the source file's name cut before its first "." +
// the label without the characters "[", "]", " ", "I", "c", "o" and "n" + ".ico".
// So group 3 of tools.dll gives tools3.ico, and group APPICON toolsAPPCON.ico.
// A '/' from a group's name becomes '_': a name must not lead out of the folder.
std::string SaveAllFileName(const std::string& folder, const std::string& sourcePath, const std::string& label);

// "Save All"'s names for one run over one or more modules: SaveAllFileName, or
// where an earlier icon of the run got that name (two labels may clean to the
// same text, FOLDER and FOLDERn; two modules may share a name before the dot),
// the first of its suffixed names (SuffixedName: tools3_001.ico, ...) not given
// yet. So every group of the run has its own file, and a run repeated gives the
// same names again.
class SaveAllNames {
public:
    explicit SaveAllNames(std::string folder) : m_folder(std::move(folder)) {}
    std::string Next(const std::string& sourcePath, const std::string& label);

private:
    std::string m_folder;
    std::set<std::string> m_given;
};

// The folder search's name for group index (from 0) of a module: target folder +
// "/" + the file's name without its extension + three digits from 001 + ".ico".
std::string SearchModuleIconName(const std::string& targetFolder, const std::string& fileName, size_t index);

std::string NotLoadableMessage(const std::string& path); // "PATH Load file error,it must be win32 file"
std::string NoIconMessage(const std::string& path);      // "There is no icon in file PATH"

} // namespace vistrel
