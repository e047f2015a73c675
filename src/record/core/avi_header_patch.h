#pragma once
// Keeping a recording that is being written playable if the process dies.
//
// The AVI muxer writes the file's header first, with its sizes and frame counts
// left open, and fills them in (and appends the index) only when the recording
// ends. A process killed in between leaves a file whose header claims nothing.
// So while recording, the writer fills those fields in itself now and then with
// the values of that moment: the RIFF and "movi" sizes, the frame counts of
// the main header, the stream header and the OpenDML header. The muxer writes
// its final values over them at the end.
//
// This file finds those fields in the header bytes (a reader that checks every
// offset against the data) and works out what to write.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vistrel {

struct AviHeaderFields {
    size_t riffSize = 0;              // offset of the first RIFF chunk's size
    size_t mainHeaderFrames = 0;      // avih dwTotalFrames
    size_t streamLength = 0;          // the first stream's strh dwLength
    std::optional<size_t> odmlFrames; // dmlh dwTotalFrames, when there is one
    size_t moviSize = 0;              // size of the LIST "movi"
    size_t moviStart = 0;             // offset of the list's type "movi"
};

// The fields, or nullopt when header (the file's first bytes) is not an AVI
// header laid out as expected, or is cut short before "movi".
std::optional<AviHeaderFields> LocateAviHeaderFields(std::span<const uint8_t> header);

struct AviPatch {
    size_t offset = 0;
    uint32_t value = 0;
    friend bool operator==(const AviPatch&, const AviPatch&) = default;
};

// The first RIFF chunk is closed by the muxer itself before it reaches this
// size (it goes on in "AVIX" chunks); past it only the frame counts of the
// whole file are written.
constexpr uint64_t kFirstRiffLimit = (uint64_t(1) << 30) - (uint64_t(16) << 20);

// What to write for a file of fileLength bytes holding frames entries.
std::vector<AviPatch> AviProgressPatches(const AviHeaderFields& fields, uint64_t fileLength, uint64_t frames);

} // namespace vistrel
