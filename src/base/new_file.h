#pragma once
// Creating files that must not replace anything: captures. The content is
// written first into an unnamed file of the target folder (O_TMPFILE), then
// linked under the first candidate name that is free. Nothing ever shows under a
// name before it is complete, a killed process leaves nothing behind, and two
// writers racing for one name both keep their file.
//
// Where the file system has no unnamed files, each candidate name is created
// exclusively and written in place (removed again if the write fails).

#include <functional>
#include <optional>
#include <string>

namespace vistrel {

struct NewFileResult {
    std::string path;  // the name the file got; empty when nothing was written
    std::string error; // why, when path is empty
    bool nameTaken = false; // nothing written because every candidate was taken
};

// nextName gives the candidates in order (full paths in folder), nullopt when
// there are no more. write gets the descriptor of the new file and returns
// whether it wrote everything.
NewFileResult WriteNewFile(const std::string& folder, const std::function<std::optional<std::string>()>& nextName,
                           const std::function<bool(int fd)>& write);

// For a file that is written in place over a long time (a recording, which must
// stay readable if the process dies): creates path exclusively. The descriptor
// (write only, close-on-exec), or -1 with errno (EEXIST when the name is taken).
int CreateFileExclusively(const std::string& path);

} // namespace vistrel
