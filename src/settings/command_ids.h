#pragma once

namespace vistrel {

// The one command one copy of the program sends another; its number is fixed.
constexpr int ID_SHOW_MAIN_WINDOW = 32863;

} // namespace vistrel
