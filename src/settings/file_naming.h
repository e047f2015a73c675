#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace vistrel {

// name + number, zero-padded to at least as many digits as the pattern has
// leading '#', + extension. "Image", "###", ".bmp", 7 -> "Image007.bmp".
std::string FormatNumberedName(std::string_view name, std::string_view digitPattern,
                               std::string_view extension, int number);

// The number a stored 16-bit counter names. The counter runs past 32767 into
// negative values; names go on counting as its unsigned 16-bit value, so after
// Image32767 comes Image32768, and after Image65535 comes Image000 again.
int NumberForName(int16_t stored);

// "%Y-%d-%m-%H-%M-%S": day before month.
std::string FormatTimeName(const std::tm& localTime);

} // namespace vistrel
