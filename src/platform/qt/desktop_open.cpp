#include "platform/qt/desktop_open.h"

#include <QProcess>

namespace vistrel {

bool OpenInDesktop(const QString& path) { return QProcess::startDetached("xdg-open", {path}); }

} // namespace vistrel
