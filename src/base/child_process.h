#pragma once
// Runs another program: an argument vector, never a shell, so no character of
// an argument needs escaping. RunProgram waits for it: its output is collected,
// its input is /dev/null and its error output is dropped. Used for the
// desktop's own tools (gsettings, xfconf-query, xdg-mime), which answer in
// moments; one that has not ended by the time limit is killed. StartDetached
// does not wait: the program (a browser, an opener) outlives the call and is
// nobody's child to reap. Any thread.

#include <string>
#include <string_view>
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

// The executable file that name starts: name itself when it holds a '/',
// else the first match on PATH. Empty when there is none.
std::string FindProgram(std::string_view name);

enum class DetachedStart {
    Started,
    NotFound, // no such program (FindProgram found none)
    Failed,   // found, but it could not be executed
};

// Starts argv (argv[0] as FindProgram finds it) in a session of its own, its
// input /dev/null, its output and errors the caller's; returns once it runs.
DetachedStart StartDetached(const std::vector<std::string>& argv);

} // namespace vistrel
