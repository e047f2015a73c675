#pragma once
// Test modules and icon images made in code: PE32 and PE32+ files with icon
// resources laid out as a resource compiler lays them out, and the offsets of
// their parts so that tests can damage them.

#include "icons/core/pe_resources.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vistrel::test {

using Bytes = std::vector<uint8_t>;

// A bitmap icon image side x side at bpp bits (1, 4, 8, 24 or 32): header,
// colour table up to 8 bits, colour rows, mask rows. seed varies the pixels.
Bytes DibIconImage(int side, int bpp, uint8_t seed = 0);
// A PNG icon image (RGBA).
Bytes PngIconImage(int side, uint8_t seed = 0);

struct FixtureGroup {
    ResourceName name;
    std::vector<uint16_t> icons; // icon resource numbers, from 1
};

struct PeFixture {
    Bytes bytes;
    size_t resourceOffset = 0;    // file offset of the root table
    size_t iconTypeTable = 0;     // file offsets of the name-level tables
    size_t groupTypeTable = 0;
    std::vector<size_t> iconDataEntries;  // file offsets of the data entries, icon i + 1 at i
    std::vector<size_t> groupDataEntries; // in directory order
    std::vector<size_t> groupLanguageTables;
};

// icons[i] becomes icon resource i + 1. Groups are sorted as a resource compiler
// sorts them: texts first, then numbers.
PeFixture BuildPeFixture(const std::vector<Bytes>& icons, std::vector<FixtureGroup> groups, bool pe32Plus);

// A common module: groups 1..count of numbered ids plus named ones, each with
// its own images of the sizes and depths given (0 bits: a PNG).
struct ImageKind {
    int side;
    int bpp;
};
PeFixture SimpleFixture(const std::vector<ResourceName>& groups, const std::vector<ImageKind>& images, bool pe32Plus);

ResourceName Numbered(uint16_t id);
ResourceName Named(const std::u16string& text);

void Put16(Bytes& v, size_t at, uint16_t x);
void Put32(Bytes& v, size_t at, uint32_t x);
uint32_t Get32(const Bytes& v, size_t at);

void WriteFile(const std::string& path, const Bytes& bytes);

} // namespace vistrel::test
