#pragma once
// The file manager's own Properties window for a file, asked for over the
// session bus (org.freedesktop.FileManager1, ShowItemProperties). User-interface
// thread; waits at most a few seconds for the answer.

#include <QString>

namespace vistrel {

// False when no file manager answers on the bus or it refuses.
bool ShowPropertiesInFileManager(const QString& path);

} // namespace vistrel
