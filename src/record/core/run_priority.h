#pragma once
// The "Run Priority" of a recording: how its threads (the worker, the grab
// thread and the encode thread) are weighed against the rest of the system.
// The user-interface thread and the process keep their own priority.
//
// Each choice is a nice value relative to the one the program runs at:
// Highest -10, Higher -5, High -2, Normal 0, Low +5, Lowest +10. Raising a
// thread above the program needs privilege; without it the recording runs at
// the program's own priority, which is no error.

#include <optional>

namespace vistrel {

// In the order of the dialog's list.
enum class RunPriority { Highest, Higher, High, Normal, Low, Lowest };

// The list's entry at index; Normal for an index outside the list.
RunPriority RunPriorityFromIndex(int index);

// The nice value a recording thread of this priority runs at, when the
// program runs at baseNice; nullopt for Normal (nothing to change).
std::optional<int> RecordingNice(RunPriority priority, int baseNice);

// Gives the calling thread nice (from RecordingNice) when there is one.
// Silent when refused: the thread keeps running at its priority.
void ApplyRecordingNice(std::optional<int> nice);

} // namespace vistrel
