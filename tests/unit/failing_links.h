#pragma once
// Link functions that fail as a file system would, for the keeping of damaged files.

#include <cerrno>

namespace vistrel::test {

// A file system without hard links.
inline int LinkRefusedXdev(const char*, const char*)
{
    errno = EXDEV;
    return -1;
}

// A folder the process may not write to.
inline int LinkDenied(const char*, const char*)
{
    errno = EACCES;
    return -1;
}

} // namespace vistrel::test
