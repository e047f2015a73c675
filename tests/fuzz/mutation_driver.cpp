// Runs a fuzz target without libFuzzer: every seed file of the folder given, then
// a fixed number of deterministic mutations of each (bit flips, truncations,
// overwritten length-like bytes, random tails). Bounded in count, so it always
// finishes; a crash or sanitizer report fails the test.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

std::vector<uint8_t> ReadAll(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Run(const std::vector<uint8_t>& v) { LLVMFuzzerTestOneInput(v.data(), v.size()); }

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::vector<uint8_t>> seeds;
    if (argc > 1 && std::filesystem::is_directory(argv[1]))
        for (const auto& e : std::filesystem::directory_iterator(argv[1]))
            if (e.is_regular_file())
                seeds.push_back(ReadAll(e.path()));
    seeds.push_back({});

    std::mt19937 rng(12345);
    const int mutationsPerSeed = std::getenv("VISTREL_FUZZ_ROUNDS") ? std::atoi(std::getenv("VISTREL_FUZZ_ROUNDS")) : 2000;
    size_t runs = 0;
    for (const auto& seed : seeds) {
        Run(seed);
        ++runs;
        for (size_t cut = 0; cut < seed.size(); cut += 1 + seed.size() / 64) {
            Run(std::vector<uint8_t>(seed.begin(), seed.begin() + long(cut)));
            ++runs;
        }
        for (int i = 0; i < mutationsPerSeed; ++i) {
            std::vector<uint8_t> m = seed;
            int edits = 1 + int(rng() % 8);
            for (int e = 0; e < edits; ++e) {
                switch (rng() % 4) {
                case 0:
                    if (!m.empty()) m[rng() % m.size()] ^= uint8_t(1u << (rng() % 8));
                    break;
                case 1:
                    if (!m.empty()) m[rng() % m.size()] = uint8_t(rng());
                    break;
                case 2:
                    if (m.size() >= 4) {
                        size_t at = rng() % (m.size() - 3);
                        uint8_t big[] = {0xFF, 0xFF, 0xFF, 0x7F};
                        for (int k = 0; k < 4; ++k) m[at + k] = big[k];
                    }
                    break;
                default:
                    if (!m.empty()) m.resize(rng() % m.size());
                    for (int k = int(rng() % 16); k > 0; --k) m.push_back(uint8_t(rng()));
                }
            }
            Run(m);
            ++runs;
        }
    }
    std::printf("%zu inputs, no crash\n", runs);
    return 0;
}
