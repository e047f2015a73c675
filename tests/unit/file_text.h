#pragma once
// Whole files as strings, read and written byte for byte.

#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace vistrel::test {

// The file's bytes; "" when it cannot be read.
inline std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteText(const std::string& path, std::string_view text)
{
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace vistrel::test
