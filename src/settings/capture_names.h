#pragma once
// The names a new capture may take, in the order it tries them. A name that is
// taken is never replaced: the capture moves on to the next candidate.
//  - Numbered names: each candidate is the next number, and the stored number
//    moves with it, so it ends past every taken name. At most one full turn of
//    the 16-bit counter is tried.
//  - Names by time: the time name, then the same with "_001" ... "_999", which
//    sort right after it and before the next second's name.

#include <cstdint>
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

private:
    enum class Kind { Image, Avi };
    CaptureNames(CEnv& env, Kind kind, int imageType);
    std::string Fresh();

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
constexpr uint32_t kTimeNameCandidates = 1000;
// A numbered name tries every value of the counter once.
constexpr uint32_t kNumberedNameCandidates = 65536;

} // namespace vistrel
