#pragma once
// The user's own folders as the XDG user-directories convention names them in
// $XDG_CONFIG_HOME/user-dirs.dirs (~/.config when unset): lines such as
// XDG_PICTURES_DIR="$HOME/Bilder". Read fresh on every call; any thread.

#include <string>
#include <string_view>

namespace vistrel {

// The folder of key ("PICTURES", "VIDEOS") without a trailing '/'; home +
// "/" + fallback when the file names none (or cannot be read). Empty when
// there is no home either.
std::string XdgUserDir(std::string_view key, std::string_view fallback);

// The value of key in the text of a user-dirs.dirs file, "$HOME" replaced by
// home; empty when the text names none.
std::string UserDirFromText(std::string_view text, std::string_view key, const std::string& home);

} // namespace vistrel
