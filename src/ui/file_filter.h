#pragma once
// File dialog filters: the "Description|*.a;*.b|...||" form the program's texts
// use, turned into the form Qt's file dialogs take ("Description (*.a *.b);;...").
// Plain text work, any thread.

#include <string>
#include <string_view>

namespace vistrel {

// A description that already ends in its own pattern list in parentheses
// ("Icon file(*.ico)") is kept as it is; otherwise the patterns are added.
// A pair without patterns is left out.
std::string QtFileFilter(std::string_view filter);

} // namespace vistrel
