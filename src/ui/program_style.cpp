#include "ui/program_style.h"

#include "ui/pictures/pictures.h"

namespace vistrel {

QIcon ProgramStyle::standardIcon(StandardPixmap icon, const QStyleOption* option, const QWidget* widget) const
{
    switch (icon) {
    case SP_ToolBarHorizontalExtensionButton:
    case SP_ToolBarVerticalExtensionButton: return FramePicture(FramePictureKind::Extension);
    case SP_TitleBarNormalButton: return FramePicture(FramePictureKind::BarFloat);
    case SP_TitleBarCloseButton:
    case SP_DockWidgetCloseButton: return FramePicture(FramePictureKind::BarClose);
    default: return QProxyStyle::standardIcon(icon, option, widget);
    }
}

} // namespace vistrel
