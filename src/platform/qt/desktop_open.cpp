#include "platform/qt/desktop_open.h"

#include "base/child_process.h"

namespace vistrel {

bool OpenInDesktop(const QString& path)
{
    return StartDetached({"xdg-open", path.toStdString()}) == DetachedStart::Started;
}

} // namespace vistrel
