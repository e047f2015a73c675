#pragma once
// The names a new capture may take, in the order it tries them. A name that is
// taken is never replaced: the capture moves on to the next candidate.
//  - Numbered names: each candidate is the next number, and the stored number
//    moves with it, so it ends past every taken name. At most one full turn of
//    the 16-bit counter is tried.
//  - Names by time: the time name, then the same with "_001" ... "_999", which
//    sort right after it and before the next second's name.

#include "base/new_file.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace vistrel {

class CEnv;

class CaptureNames {
public:
    static CaptureNames ForImage(CEnv& env, int imageType);
    static CaptureNames ForAvi(CEnv& env);

    // The next full path to try; nullopt when no candidate is left.
    std::optional<std::string> Next();
    const std::string& folder() const { return m_folder; }

    // The one way a capture gets its file: the folder is made when missing
    // (otherwise only reading a settings file makes it, and a first run's
    // captures would be lost), create makes the file under the first free
    // candidate (WriteNewFile, CreateNewFile), and a number that moved is stored
    // at once, so that no later run, after a crash or a kill, starts from an old
    // one. False when that number could not be stored.
    using Create = std::function<void(const std::string& folder, const NameSource& candidates)>;
    bool CreateFile(const Create& create);

private:
    enum class Kind { Image, Avi };
    CaptureNames(CEnv& env, Kind kind, int imageType);
    std::string Fresh();
    int16_t& Number();

    CEnv* m_env;
    Kind m_kind;
    int m_imageType;
    bool m_byTime;
    std::string m_folder;
    std::string m_extension;
    std::string m_timeStem; // folder + '/' + the time name without extension
    uint32_t m_tried = 0;
};

// How many candidates a name by time gets: the name and 999 suffixed ones.
constexpr uint32_t kTimeNameCandidates = kSuffixedNameCandidates;
// A numbered name tries every value of the counter once.
constexpr uint32_t kNumberedNameCandidates = 65536;

} // namespace vistrel
