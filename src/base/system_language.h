#pragma once

#include <cstdint>

namespace vistrel {

constexpr uint16_t LANGID_CHINESE_PRC = 0x0804;
constexpr uint16_t LANGID_ENGLISH_US = 0x0409;

// The system's language as a Windows language identifier, from the first set of
// LC_ALL, LC_MESSAGES and LANG: zh_CN gives 0x0804; anything else 0x0409.
uint16_t SystemDefaultLangId();

} // namespace vistrel
