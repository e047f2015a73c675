#pragma once
// The calling thread's scheduling weight. Linux gives threads of the normal
// scheduling class no priorities of their own: what the scheduler weighs is
// each thread's nice value (-20 favoured most, 19 least), which setpriority
// sets per thread when given a thread id. Only this one thread changes; its
// process and its other threads keep theirs.

#include <optional>

namespace vistrel {

// The calling thread's nice value; nullopt when it cannot be read.
std::optional<int> CurrentThreadNice();

// Sets the calling thread's nice value (clamped to -20 ... 19). False when
// the system refuses, as it does when an unprivileged thread asks for a
// lower value than it may have: the thread then keeps its value.
bool SetCurrentThreadNice(int nice);

} // namespace vistrel
