#include "i18n/language_files.h"

#include "base/program_folder.h"
#include "base/text_encoding.h"
#include "settings/env.h"

#include <algorithm>
#include <dirent.h>
#include <map>
#include <memory>
#include <sys/stat.h>

namespace vistrel {

namespace {

bool IsLanguageFileName(const std::string& name)
{
    return name.size() > 4 && name.front() != '.' && EqualNoCase(std::string_view(name).substr(name.size() - 4), ".ini");
}

bool IsRegularFile(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string FileName(const std::string& path)
{
    auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

std::vector<std::string> LanguageSearchFolders()
{
    std::vector<std::string> folders;
    auto add = [&](const std::string& folder) {
        if (!folder.empty() && std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(folder);
    };
    add(LanguageFolder());
    for (const auto& folder : ShippedDataFolders("Language", "Language"))
        add(folder);
    return folders;
}

std::vector<std::string> ListLanguageFiles(const std::vector<std::string>& folders)
{
    std::map<std::string, std::string> byName; // file name -> full path, first folder wins
    for (const auto& folder : folders) {
        std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
        if (!dir)
            continue;
        while (dirent* entry = readdir(dir.get())) {
            std::string name = entry->d_name;
            if (!IsLanguageFileName(name) || byName.contains(name))
                continue;
            std::string path = folder + "/" + name;
            if (IsRegularFile(path))
                byName.emplace(name, path);
        }
    }
    std::vector<std::pair<std::string, std::string>> sorted(byName.begin(), byName.end());
    // By name without regard to case, as a file manager lists them; exact order breaks ties.
    std::stable_sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
        return FoldCase(a.first) < FoldCase(b.first);
    });
    std::vector<std::string> files;
    files.reserve(sorted.size());
    for (auto& [name, path] : sorted)
        files.push_back(std::move(path));
    return files;
}

void CollectLanguageFiles() { g_languageFiles = ListLanguageFiles(LanguageSearchFolders()); }

std::string LanguageFilePath(const std::string& fileName, const std::vector<std::string>& files)
{
    for (const auto& path : files)
        if (FileName(path) == fileName)
            return path;
    return LanguageFolder() + "/" + fileName;
}

} // namespace vistrel
