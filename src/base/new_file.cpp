#include "base/new_file.h"

#include "base/fd_io.h"
#include "base/unique_fd.h"
#include "base/unnamed_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <fcntl.h>
#include <unistd.h>

namespace vistrel {

namespace {

std::string Reason(int error)
{
    return error != 0 ? std::strerror(error) : "write failed";
}

// Offers the candidates to take in order until one is taken (take returns 0);
// EEXIST moves on to the next, any other errno gives up. The name taken, or
// the failure.
NewFileResult TakeFirstFreeName(const std::string& folder, const NameSource& nextName,
                                const std::function<int(const std::string& candidate)>& take)
{
    while (auto candidate = nextName()) {
        const int error = take(*candidate);
        if (error == EEXIST)
            continue;
        if (error != 0)
            return {{}, "cannot create " + *candidate + ": " + std::strerror(error)};
        return {*candidate, {}};
    }
    return {{}, "no free file name in " + folder, true};
}

// Without unnamed files: each candidate is created exclusively and written in
// place; a file that could not be written whole is removed again.
NewFileResult WriteInPlace(const std::string& folder, const NameSource& nextName,
                           const std::function<bool(int fd)>& write)
{
    CreatedFile created = CreateNewFile(folder, nextName);
    if (!created.fd)
        return created.result;
    const std::string& path = created.result.path;
    errno = 0;
    bool ok = RunFdWriter(write, created.fd.get());
    int error = errno;
    if (ok && !created.fd.Close()) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(path.c_str());
        return {{}, "cannot write " + path + ": " + Reason(error)};
    }
    return created.result;
}

} // namespace

int CreateFileExclusively(const std::string& path)
{
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
}

CreatedFile CreateNewFile(const std::string& folder, const NameSource& nextName)
{
    CreatedFile created;
    created.result = TakeFirstFreeName(folder, nextName, [&created](const std::string& candidate) {
        created.fd = UniqueFd(CreateFileExclusively(candidate));
        return created.fd ? 0 : errno;
    });
    return created;
}

NewFileResult WriteNewFile(const std::string& folder, const NameSource& nextName,
                           const std::function<bool(int fd)>& write)
{
    UniqueFd unnamed = OpenUnnamedFile(folder);
    if (!unnamed) {
        if (!UnnamedFilesUnsupported(errno))
            return {{}, "cannot write into " + folder + ": " + std::strerror(errno)};
        return WriteInPlace(folder, nextName, write);
    }
    errno = 0;
    if (!RunFdWriter(write, unnamed.get()))
        return {{}, "cannot write into " + folder + ": " + Reason(errno)};

    NewFileResult named = TakeFirstFreeName(
        folder, nextName, [&unnamed](const std::string& candidate) { return NameUnnamedFile(unnamed.get(), candidate); });
    if (!named.path.empty() && !unnamed.Close()) { // the data did not make it after all (NFS, quota)
        const int closeError = errno;
        ::unlink(named.path.c_str());
        return {{}, "cannot write " + named.path + ": " + std::strerror(closeError)};
    }
    return named;
}

std::string SuffixedName(const std::string& stem, const std::string& extension, uint32_t index)
{
    if (index == 0)
        return stem + extension;
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "_%03u", unsigned(index));
    return stem + suffix + extension;
}

NameSource SuffixedNames(std::string stem, std::string extension)
{
    auto next = std::make_shared<uint32_t>(0);
    return [stem = std::move(stem), extension = std::move(extension), next]() -> std::optional<std::string> {
        if (*next >= kSuffixedNameCandidates)
            return std::nullopt;
        return SuffixedName(stem, extension, (*next)++);
    };
}

} // namespace vistrel
