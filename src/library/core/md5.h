#pragma once
// MD5 of a byte string as 32 lower-case hex digits. Only for naming files the
// way other programs name them (the shared thumbnail cache), never for security.

#include <string>
#include <string_view>

namespace vistrel {

std::string Md5Hex(std::string_view data);

} // namespace vistrel
