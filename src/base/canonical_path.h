#pragma once

#include <string>

namespace vistrel {

// The one absolute spelling of a path: links, ".", ".." and repeated '/'
// resolved. Parts that do not exist yet are kept as written below the
// deepest part that does. Relative paths start from the current folder.
std::string CanonicalPath(const std::string& path);

// The folder a path names its last part in: "." for a bare name, "/" at the root.
std::string ParentFolder(const std::string& path);

} // namespace vistrel
