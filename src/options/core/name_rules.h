#pragma once
// The Save Names page's rules. The start number is shown as the number the next
// file is named with (0 to 65535: the stored 16-bit counter read unsigned, as
// the names count), so whatever the field holds is exactly what gets stored.

#include <cstdint>
#include <string>
#include <string_view>

namespace vistrel {

constexpr int kMaxStartNumber = 65535;

// The pattern as stored: its leading run of '#' ("###a#" -> "###", "a#" -> "").
std::string DigitPatternRun(std::string_view typed);

int StartNumberFromStored(int16_t stored);
int16_t StoredFromStartNumber(int number); // the low 16 bits

// The name the group's settings give the next file: "Image", "###", ".bmp", 0
// -> "Image000.bmp". The pattern counts as it will be stored.
std::string ExampleName(std::string_view name, std::string_view typedPattern, std::string_view extension,
                        int startNumber);

// What a group shows when naming by time (day before month, as the names are).
inline constexpr std::string_view kTimeExampleStem = "2002-22-11-22-05-10-01";

} // namespace vistrel
