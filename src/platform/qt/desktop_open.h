#pragma once
// Hands a file or folder to the desktop's own handler (xdg-open), detached, with
// the path as one argument: no shell, so no character of it needs escaping.

#include <QString>

namespace vistrel {

// False when the opener could not be started.
bool OpenInDesktop(const QString& path);

} // namespace vistrel
