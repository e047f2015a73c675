#include "record/recorder_module.h"

#include "base/program_folder.h"

#include <cstring>
#include <dlfcn.h>
#include <sys/stat.h>

namespace vistrel {

namespace {

constexpr const char* kModuleName = "vistrel-recorder.so";

bool IsFile(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

const RecorderEntryPoints* Load(std::string& error)
{
    const std::string folder = ExecutableFolder();
    if (folder.empty()) {
        error = "cannot find the program's own folder";
        return nullptr;
    }
    std::string path = folder + "/" + kModuleName;
    if (!IsFile(path))
        path = folder + "/" VISTREL_RECORDER_INSTALL_DIR "/" + kModuleName;
    // Never unloaded: its threads and FFmpeg's live as long as the program.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* why = dlerror();
        error = std::string("cannot load the recorder: ") + (why ? why : path.c_str());
        return nullptr;
    }
    using Entry = const RecorderEntryPoints* (*)();
    auto entry = reinterpret_cast<Entry>(dlsym(module, "vistrel_recorder_entry_points"));
    const RecorderEntryPoints* points = entry ? entry() : nullptr;
    if (!points || points->size != sizeof(RecorderEntryPoints) ||
        std::strcmp(points->stamp, VISTREL_RECORDER_STAMP) != 0) {
        error = "the recorder " + path + " belongs to another build of Vistrel";
        return nullptr;
    }
    return points;
}

} // namespace

const RecorderEntryPoints* LoadRecorder(std::string& error)
{
    static std::string lastError;
    static const RecorderEntryPoints* const points = Load(lastError);
    error = lastError;
    return points;
}

} // namespace vistrel
