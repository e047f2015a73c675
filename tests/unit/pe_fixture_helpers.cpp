#include "pe_fixture.h"

#include "codec/encode.h"

#include <algorithm>
#include <fstream>

namespace vistrel::test {

namespace {

constexpr uint32_t kSectionRva = 0x1000;
constexpr uint32_t kSectionFileOffset = 0x200;

void Append16(Bytes& v, uint32_t x) { v.insert(v.end(), {uint8_t(x), uint8_t(x >> 8)}); }
void Append32(Bytes& v, uint32_t x) { v.insert(v.end(), {uint8_t(x), uint8_t(x >> 8), uint8_t(x >> 16), uint8_t(x >> 24)}); }

uint32_t Stride(int width, int bpp) { return uint32_t((width * bpp + 31) / 32 * 4); }

// Directory entries as the group resource repeats them.
struct ImageFacts {
    uint32_t width, height;
    uint16_t planes, bitCount;
};
ImageFacts FactsOf(const Bytes& image)
{
    if (image.size() > 24 && image[1] == 'P') // PNG: IHDR width and height, big-endian
        return {uint32_t(image[18] << 8 | image[19]), uint32_t(image[22] << 8 | image[23]), 1, 32};
    return {Get32(image, 4), Get32(image, 8) / 2, uint16_t(image[12]), uint16_t(image[14])};
}

bool ResourceOrder(const FixtureGroup& a, const FixtureGroup& b)
{
    if (a.name.isText != b.name.isText)
        return a.name.isText;
    return a.name.isText ? a.name.text < b.name.text : a.name.id < b.name.id;
}

} // namespace

void Put16(Bytes& v, size_t at, uint16_t x)
{
    v[at] = uint8_t(x);
    v[at + 1] = uint8_t(x >> 8);
}

void Put32(Bytes& v, size_t at, uint32_t x)
{
    for (int i = 0; i < 4; ++i)
        v[at + size_t(i)] = uint8_t(x >> (8 * i));
}

uint32_t Get32(const Bytes& v, size_t at)
{
    return uint32_t(v[at]) | uint32_t(v[at + 1]) << 8 | uint32_t(v[at + 2]) << 16 | uint32_t(v[at + 3]) << 24;
}

ResourceName Numbered(uint16_t id) { return ResourceName {false, id, {}}; }
ResourceName Named(const std::u16string& text) { return ResourceName {true, 0, text}; }

Bytes DibIconImage(int side, int bpp, uint8_t seed)
{
    Bytes v;
    const uint32_t colourBytes = Stride(side, bpp) * uint32_t(side), maskBytes = Stride(side, 1) * uint32_t(side);
    for (uint32_t x : {40u, uint32_t(side), uint32_t(2 * side)})
        Append32(v, x);
    Append16(v, 1);
    Append16(v, uint32_t(bpp));
    for (uint32_t x : {0u, colourBytes + maskBytes, 0u, 0u, 0u, 0u})
        Append32(v, x);
    const uint32_t paletteEntries = bpp <= 8 ? 1u << bpp : 0;
    for (uint32_t i = 0; i < paletteEntries; ++i)
        v.insert(v.end(), {uint8_t(i * 37 + seed), uint8_t(i * 91), uint8_t(255 - i * 13), 0});
    for (uint32_t i = 0; i < colourBytes; ++i)
        v.push_back(uint8_t(i * 7 + seed));
    for (uint32_t i = 0; i < maskBytes; ++i)
        v.push_back(uint8_t(i % 5 == 0 ? 0xF0 : 0x00));
    return v;
}

Bytes PngIconImage(int side, uint8_t seed)
{
    Bitmap b(side, side);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            b.at(x, y) = MakeArgb(uint8_t(x + seed), uint8_t(y), uint8_t(x ^ y), uint8_t(x * 255 / side));
    VectorSink sink;
    EncodeImage(b, true, IMAGE_TYPE_PNG, sink);
    return sink.bytes();
}

PeFixture BuildPeFixture(const std::vector<Bytes>& icons, std::vector<FixtureGroup> groups, bool pe32Plus)
{
    std::stable_sort(groups.begin(), groups.end(), ResourceOrder);
    PeFixture f;
    // The resource section, laid out as resource compilers do: tables, then
    // data entries, then name strings, then the data.
    const size_t nIcons = icons.size(), nGroups = groups.size();
    const size_t root = 0, iconTable = 16 + 2 * 8, groupTable = iconTable + 16 + 8 * nIcons;
    const size_t languageTables = groupTable + 16 + 8 * nGroups; // 24 bytes each, icons first
    const size_t dataEntries = languageTables + 24 * (nIcons + nGroups);
    size_t strings = dataEntries + 16 * (nIcons + nGroups);
    std::vector<size_t> nameAt(nGroups);
    size_t at = strings;
    for (size_t g = 0; g < nGroups; ++g)
        if (groups[g].name.isText) {
            nameAt[g] = at;
            at += 2 + 2 * groups[g].name.text.size();
        }
    at = (at + 3) & ~size_t(3);
    Bytes rsrc(at, 0);

    auto table = [&](size_t offset, uint16_t named, uint16_t ids) {
        Put16(rsrc, offset + 12, named);
        Put16(rsrc, offset + 14, ids);
    };
    auto entry = [&](size_t offset, uint32_t name, uint32_t target) {
        Put32(rsrc, offset, name);
        Put32(rsrc, offset + 4, target);
    };
    auto appendData = [&](size_t dataEntry, const Bytes& data) {
        Put32(rsrc, dataEntry, uint32_t(kSectionRva + rsrc.size()));
        Put32(rsrc, dataEntry + 4, uint32_t(data.size()));
        rsrc.insert(rsrc.end(), data.begin(), data.end());
        rsrc.resize((rsrc.size() + 3) & ~size_t(3));
    };

    table(root, 0, 2);
    entry(root + 16, 3, 0x80000000u | uint32_t(iconTable));
    entry(root + 24, 14, 0x80000000u | uint32_t(groupTable));
    table(iconTable, 0, uint16_t(nIcons));
    for (size_t i = 0; i < nIcons; ++i) {
        const size_t lang = languageTables + 24 * i, data = dataEntries + 16 * i;
        entry(iconTable + 16 + 8 * i, uint32_t(i + 1), 0x80000000u | uint32_t(lang));
        table(lang, 0, 1);
        entry(lang + 16, 0x409, uint32_t(data));
        f.iconDataEntries.push_back(kSectionFileOffset + data);
    }
    const auto namedCount = std::count_if(groups.begin(), groups.end(), [](auto& g) { return g.name.isText; });
    table(groupTable, uint16_t(namedCount), uint16_t(nGroups - size_t(namedCount)));
    for (size_t g = 0; g < nGroups; ++g) {
        const size_t lang = languageTables + 24 * (nIcons + g), data = dataEntries + 16 * (nIcons + g);
        uint32_t name = groups[g].name.id;
        if (groups[g].name.isText) {
            name = 0x80000000u | uint32_t(nameAt[g]);
            Put16(rsrc, nameAt[g], uint16_t(groups[g].name.text.size()));
            for (size_t c = 0; c < groups[g].name.text.size(); ++c)
                Put16(rsrc, nameAt[g] + 2 + 2 * c, uint16_t(groups[g].name.text[c]));
        }
        entry(groupTable + 16 + 8 * g, name, 0x80000000u | uint32_t(lang));
        table(lang, 0, 1);
        entry(lang + 16, 0x409, uint32_t(data));
        f.groupDataEntries.push_back(kSectionFileOffset + data);
        f.groupLanguageTables.push_back(kSectionFileOffset + lang);
    }
    for (size_t i = 0; i < nIcons; ++i)
        appendData(dataEntries + 16 * i, icons[i]);
    for (size_t g = 0; g < nGroups; ++g) {
        Bytes group;
        Append16(group, 0);
        Append16(group, 1);
        Append16(group, uint32_t(groups[g].icons.size()));
        for (uint16_t id : groups[g].icons) {
            const Bytes& image = icons.at(size_t(id - 1));
            const ImageFacts facts = FactsOf(image);
            const uint32_t colours = uint32_t(facts.planes) * facts.bitCount;
            group.insert(group.end(), {uint8_t(facts.width), uint8_t(facts.height),
                                       uint8_t(colours < 8 ? 1u << colours : 0), 0});
            Append16(group, facts.planes);
            Append16(group, facts.bitCount);
            Append32(group, uint32_t(image.size()));
            Append16(group, id);
        }
        appendData(dataEntries + 16 * (nIcons + g), group);
    }

    // The headers: DOS stub header, PE signature, COFF header, optional header,
    // one section.
    const size_t optionalSize = pe32Plus ? 240 : 224, peAt = 0x40;
    Bytes& v = f.bytes;
    v.assign(kSectionFileOffset, 0);
    v[0] = 'M';
    v[1] = 'Z';
    Put32(v, 0x3C, uint32_t(peAt));
    v[peAt] = 'P';
    v[peAt + 1] = 'E';
    Put16(v, peAt + 4, pe32Plus ? 0x8664 : 0x14C);
    Put16(v, peAt + 6, 1);
    Put16(v, peAt + 20, uint16_t(optionalSize));
    Put16(v, peAt + 22, 0x2102);
    const size_t opt = peAt + 24, dirs = opt + (pe32Plus ? 112 : 96);
    Put16(v, opt, pe32Plus ? 0x20B : 0x10B);
    Put32(v, opt + 32, 0x1000);
    Put32(v, opt + 36, 0x200);
    const uint32_t rawSize = uint32_t((rsrc.size() + 0x1FF) & ~size_t(0x1FF));
    Put32(v, opt + 56, kSectionRva + ((rawSize + 0xFFF) & ~0xFFFu));
    Put32(v, opt + 60, kSectionFileOffset);
    Put16(v, opt + 68, 2);
    Put32(v, dirs - 4, 16);
    Put32(v, dirs + 16, kSectionRva);
    Put32(v, dirs + 20, uint32_t(rsrc.size()));
    const size_t section = opt + optionalSize;
    std::copy_n(".rsrc", 5, v.begin() + ptrdiff_t(section));
    Put32(v, section + 8, uint32_t(rsrc.size()));
    Put32(v, section + 12, kSectionRva);
    Put32(v, section + 16, rawSize);
    Put32(v, section + 20, kSectionFileOffset);
    Put32(v, section + 36, 0x40000040);
    rsrc.resize(rawSize, 0);
    v.insert(v.end(), rsrc.begin(), rsrc.end());

    f.resourceOffset = kSectionFileOffset + root;
    f.iconTypeTable = kSectionFileOffset + iconTable;
    f.groupTypeTable = kSectionFileOffset + groupTable;
    return f;
}

PeFixture SimpleFixture(const std::vector<ResourceName>& groups, const std::vector<ImageKind>& images, bool pe32Plus)
{
    std::vector<Bytes> icons;
    std::vector<FixtureGroup> list;
    for (size_t g = 0; g < groups.size(); ++g) {
        FixtureGroup group {groups[g], {}};
        for (const ImageKind& kind : images) {
            const uint8_t seed = uint8_t(g * 16 + icons.size());
            icons.push_back(kind.bpp == 0 ? PngIconImage(kind.side, seed) : DibIconImage(kind.side, kind.bpp, seed));
            group.icons.push_back(uint16_t(icons.size()));
        }
        list.push_back(group);
    }
    return BuildPeFixture(icons, list, pe32Plus);
}

void WriteFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

} // namespace vistrel::test
