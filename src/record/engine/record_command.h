#pragma once
// A recording asked for from the command line, checked against what this
// build can compress and against the screen, before anything is written. The
// command line records it itself, or hands it to the running copy, which
// records it with the same recorder.

#include "record/core/record_request.h"

#include <optional>
#include <string>
#include <vector>

namespace vistrel {

struct RecordEnd;

struct PreparedRecording {
    RecordRequest request;
    RecordRegion region; // on the screen
};

// nullopt with status 2 (refused: a bad word, an area off the screen) or 1 (no
// display) and the reason in error.
std::optional<PreparedRecording> PrepareRecording(const RecordWords& words, int& status, std::string& error);

// What the command line is told once its recording has ended: the path to
// print (none when no file is there to show, such as when the file or its
// folder was removed or renamed while it recorded), the problems for its
// standard error, in order (none when all went well), and its exit status (0
// only for a complete file, still under its name, whose number was stored).
struct RecordReport {
    std::string path;
    std::vector<std::string> problems;
    int status = 1;
};
RecordReport ReportRecordEnd(const RecordEnd& end);

} // namespace vistrel
