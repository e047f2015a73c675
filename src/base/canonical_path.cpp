#include "base/canonical_path.h"

#include <climits>
#include <cstdlib>
#include <memory>
#include <unistd.h>
#include <vector>

namespace vistrel {

namespace {

std::string RealPath(const std::string& path)
{
    std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr), &std::free);
    return resolved ? std::string(resolved.get()) : std::string();
}

std::vector<std::string> Components(const std::string& path)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t slash = path.find('/', start);
        if (slash == std::string::npos)
            slash = path.size();
        if (slash > start)
            parts.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    return parts;
}

} // namespace

std::string ParentFolder(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string CanonicalPath(const std::string& path)
{
    std::string absolute = path;
    if (absolute.empty() || absolute.front() != '/') {
        char cwd[PATH_MAX];
        if (!getcwd(cwd, sizeof cwd))
            return path;
        absolute = std::string(cwd) + "/" + path;
    }
    if (std::string real = RealPath(absolute); !real.empty())
        return real;

    // Resolve the deepest existing part, then walk the rest by its words, so
    // "x/../y" below a missing folder still means "y".
    std::string resolved = "/";
    for (const std::string& part : Components(absolute)) {
        if (part == ".")
            continue;
        if (part == "..") {
            const auto slash = resolved.rfind('/');
            resolved.resize(slash == 0 ? 1 : slash);
            continue;
        }
        std::string next = resolved == "/" ? "/" + part : resolved + "/" + part;
        std::string real = RealPath(next);
        resolved = real.empty() ? next : real;
    }
    return resolved;
}

} // namespace vistrel
