// The program's entry, kept tiny: it only decides which of its two halves runs
// and becomes it. A start without a command becomes vistrel-gui, the windowed
// program; a command (--capture, --set, --print-settings, --help, --icons...)
// becomes vistrel-cli, which needs no toolkit. Both sit beside this file and
// get the same arguments. Neither the toolkit nor the image libraries are
// loaded here, so each start pays for them at most once.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

// Whether the arguments ask for a command rather than the window: any option
// but --home (whose value is a folder, not an option).
bool AsksForCommand(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "--home") == 0) {
            ++i;
            continue;
        }
        if (std::strncmp(a, "--home=", 7) == 0)
            continue;
        if (a[0] == '-' && a[1] != '\0')
            return true;
    }
    return false;
}

std::string OwnFolder()
{
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return ".";
    std::string self(path, size_t(n));
    const auto slash = self.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : self.substr(0, slash);
}

} // namespace

int main(int argc, char** argv)
{
    const std::string half = OwnFolder() + (AsksForCommand(argc, argv) ? "/vistrel-cli" : "/vistrel-gui");
    execv(half.c_str(), argv);
    std::fprintf(stderr, "vistrel: cannot start %s: %s\n", half.c_str(), std::strerror(errno));
    return 1;
}
