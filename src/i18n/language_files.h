#pragma once
// Where language files are found. The user's own files sit in the program
// folder's "Language"; the files that come with the program sit in the install's
// "share/vistrel/Language" (next to the executable's "bin"), or in the source
// tree when the program runs from its build folder. So a fresh program folder
// still offers the shipped languages, and a file of the same name in the
// program folder replaces the shipped one.

#include <string>
#include <vector>

namespace vistrel {

// The folders searched, first one first; each at most once.
std::vector<std::string> LanguageSearchFolders();

// The "*.ini" files (regular files; ".ini" in any case) of the folders, full
// paths, ordered by file name; a name found in an earlier folder hides the same
// name in later ones. Missing folders are skipped.
std::vector<std::string> ListLanguageFiles(const std::vector<std::string>& folders);

// Fills g_languageFiles from LanguageSearchFolders(); done once at start.
void CollectLanguageFiles();

// The path of the language file named fileName ("vstlchs.ini"): the entry of
// files with that name, else where it would be in the program folder.
std::string LanguageFilePath(const std::string& fileName, const std::vector<std::string>& files);

} // namespace vistrel
