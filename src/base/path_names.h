#pragma once
// Names taken from a path: its file name, and its spelling as a file URI. Plain
// text work, any thread.

#include <string>
#include <string_view>

namespace vistrel {

// The part of the path after its last '/' (the whole path without one; empty
// for a path ending in '/').
std::string_view FileNameOfPath(std::string_view path);

// "file://" and the absolute path with every byte other than letters, digits
// and -._~!$&'()*+,=:@/ written as %XX, as GLib spells it: other programs (the
// thumbnail cache's readers, the desktop's settings) know a file only by the
// same spelling.
std::string FileUri(std::string_view absolutePath);

} // namespace vistrel
