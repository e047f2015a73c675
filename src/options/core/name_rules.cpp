#include "options/core/name_rules.h"

#include "settings/file_naming.h"

namespace vistrel {

std::string DigitPatternRun(std::string_view typed)
{
    const size_t end = typed.find_first_not_of('#');
    return std::string(typed.substr(0, end));
}

int StartNumberFromStored(int16_t stored) { return NumberForName(stored); }

int16_t StoredFromStartNumber(int number) { return int16_t(uint16_t(uint32_t(number) & 0xFFFFu)); }

std::string ExampleName(std::string_view name, std::string_view typedPattern, std::string_view extension,
                        int startNumber)
{
    const int number = StartNumberFromStored(StoredFromStartNumber(startNumber));
    return FormatNumberedName(name, DigitPatternRun(typedPattern), extension, number);
}

} // namespace vistrel
