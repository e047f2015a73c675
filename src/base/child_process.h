#pragma once
// Runs another program and waits for it: an argument vector, never a shell, so
// no character of an argument needs escaping. Its output is collected, its
// input is /dev/null and its error output is dropped. Used for the desktop's
// own tools (gsettings, xfconf-query, xdg-mime), which answer in moments; one
// that has not ended by the time limit is killed. Any thread.

#include <string>
#include <vector>

namespace vistrel {

struct ChildOutcome {
    bool started = false;  // false: no such program, or it could not be executed
    bool finished = false; // ended by itself within the time limit
    int exitCode = -1;     // its exit status when it finished normally, else -1
    std::string output;    // what it wrote on stdout (at most 1 MiB)

    bool succeeded() const { return finished && exitCode == 0; }
};

// argv[0] is looked up on PATH when it holds no '/'.
ChildOutcome RunProgram(const std::vector<std::string>& argv, int timeLimitMs = 5000);

} // namespace vistrel
