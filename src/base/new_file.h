#pragma once
// Creating files that must not replace anything: captures. The content is
// written first into an unnamed file of the target folder (O_TMPFILE), then
// linked under the first candidate name that is free. Nothing ever shows under a
// name before it is complete, a killed process leaves nothing behind, and two
// writers racing for one name both keep their file.
//
// Where the file system has no unnamed files, each candidate name is created
// exclusively and written in place (removed again if the write fails).
//
// Every writer of a new file (captures, recordings, icons) takes its name here,
// from candidates it gives in order: the first one free is the file's.

#include "base/unique_fd.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace vistrel {

struct NewFileResult {
    std::string path;  // the name the file got; empty when nothing was written
    std::string error; // why, when path is empty
    bool nameTaken = false; // nothing written because every candidate was taken
};

// The candidates in order (full paths), nullopt when there are no more.
using NameSource = std::function<std::optional<std::string>()>;

// nextName gives the candidates in folder. write gets the descriptor of the new
// file and returns whether it wrote everything.
NewFileResult WriteNewFile(const std::string& folder, const NameSource& nextName,
                           const std::function<bool(int fd)>& write);

// For a file that is written in place over a long time (a recording, which must
// stay readable if the process dies): creates path exclusively. The descriptor
// (write only, close-on-exec), or -1 with errno (EEXIST when the name is taken).
int CreateFileExclusively(const std::string& path);

// The same under the first free candidate of folder: the empty file, open for
// writing; no descriptor when none was made (result says why).
struct CreatedFile {
    UniqueFd fd;
    NewFileResult result;
};
CreatedFile CreateNewFile(const std::string& folder, const NameSource& nextName);

// Candidates for a name that may be taken: stem + extension, then stem + "_001"
// + extension ... "_999", which sort right after it.
constexpr uint32_t kSuffixedNameCandidates = 1000;
std::string SuffixedName(const std::string& stem, const std::string& extension, uint32_t index);
NameSource SuffixedNames(std::string stem, std::string extension);

} // namespace vistrel
