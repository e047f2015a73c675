#pragma once

#include <cstdint>
#include <string>

namespace vistrel {

// An outside program offered for captured files (editor or player).
struct ToolEntry {
    std::string name;
    std::string command;
    int32_t isDefault = 0;

    friend bool operator==(const ToolEntry&, const ToolEntry&) = default;
};

} // namespace vistrel
