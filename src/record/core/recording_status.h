#pragma once
// The parts of the line that tells how a recording is going (the tray icon's
// tip and the main window's status bar, "Recording 0:07 — 3.2 MB"): the time
// since it started and the size of its file so far. Plain text work, any thread.

#include <cstdint>
#include <string>

namespace vistrel {

// "m:ss", from an hour "h:mm:ss"; whole seconds, cut down; below 0 as 0.
std::string ElapsedText(int64_t elapsedMs);

// Below a mebibyte whole kibibytes ("0 KB", "512 KB"), then one decimal,
// cut down so that it never shows more than there is: "3.2 MB", "1.5 GB".
std::string RecordedSizeText(uint64_t bytes);

} // namespace vistrel
