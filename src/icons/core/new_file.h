#pragma once
// Creation of a file that must not exist yet. Icons found by a search or saved
// from a module never replace a file already in the folder: a name that is taken
// is left alone and reported as such.
//
// Every icon writer goes through WriteNewFile, so that it can move to the
// program's shared exclusive-creation primitive (unnamed file linked into place)
// in this one spot.

#include <cstdint>
#include <span>
#include <string>

namespace vistrel {

enum class NewFileResult {
    Written, // the file did not exist and now holds all the bytes
    Exists,  // something of that name exists (a link too, even a dangling one); untouched
    Failed,  // nothing was left behind
};

NewFileResult WriteNewFile(const std::string& path, std::span<const uint8_t> bytes);

} // namespace vistrel
