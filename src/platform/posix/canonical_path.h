#pragma once

#include <string>

namespace vistrel {

// The one absolute spelling of a path: links, ".", ".." and repeated '/'
// resolved. Parts that do not exist yet are kept as written below the
// deepest part that does. Relative paths start from the current folder.
std::string CanonicalPath(const std::string& path);

} // namespace vistrel
