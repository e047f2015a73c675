// Writes test modules with icon resources (made in code, as the unit tests make
// them) for the end-to-end icon checks and the fuzzer's seeds; with "clash",
// only clash.dll, whose group names FOLDER and FOLDERn give one "Save All" name.
// Usage: icon_fixture DIR [clash]
#include "../unit/pe_fixture.h"

#include "icons/core/icon_resource.h"

#include <cstdio>
#include <string>

using namespace vistrel::test;

int main(int argc, char** argv)
{
    if (argc != 2 && !(argc == 3 && std::string(argv[2]) == "clash")) {
        std::fprintf(stderr, "usage: %s DIR [clash]\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    if (argc == 3) {
        WriteFile(dir + "/clash.dll",
                  SimpleFixture({Named(u"FOLDER"), Named(u"FOLDERn"), Numbered(1)}, {{16, 4}}, false).bytes);
        return 0;
    }
    const std::vector<vistrel::ResourceName> groups = {Numbered(1), Numbered(2), Numbered(12), Named(u"APPICON")};
    const std::vector<ImageKind> images = {{16, 1}, {16, 4}, {32, 8}, {32, 24}, {48, 32}, {256, 0}};
    WriteFile(dir + "/tools.dll", SimpleFixture(groups, images, false).bytes);
    WriteFile(dir + "/tools64.dll", SimpleFixture(groups, images, true).bytes);
    // The two-image group whose .ico file is 1078 bytes long.
    WriteFile(dir + "/small.exe", SimpleFixture({Numbered(3)}, {{16, 4}, {32, 4}}, false).bytes);
    Bytes ne = SimpleFixture({Numbered(1)}, {{16, 4}}, false).bytes;
    ne[0x40] = 'N';
    ne[0x41] = 'E';
    WriteFile(dir + "/old16.exe", ne);
    // Small ones for the fuzzer's seeds.
    WriteFile(dir + "/seed32.dll", SimpleFixture({Numbered(1), Named(u"A")}, {{16, 1}, {16, 4}}, false).bytes);
    WriteFile(dir + "/seed64.exe", SimpleFixture({Numbered(2)}, {{16, 8}, {8, 0}}, true).bytes);
    vistrel::IconResource icon;
    for (const Bytes& image : {DibIconImage(16, 4), DibIconImage(8, 32), PngIconImage(8)})
        icon.images.push_back(*vistrel::MakeIconImage(image));
    WriteFile(dir + "/seed.ico", *vistrel::IcoFileBytes(icon));
    return 0;
}
