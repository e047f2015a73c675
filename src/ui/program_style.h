#pragma once
// The program's one style: the desktop's style, with our own pictures for the
// few standard icons the window frame asks for while it is built (menu and tool
// bar overflow, the docking bars' buttons). The standard ones are image files
// whose first reading loads every image plugin the toolkit has, which would
// hold up the window's first appearance.

#include <QProxyStyle>

namespace vistrel {

// The dialogs' background, set for the whole application.
inline constexpr char kDialogStyleSheet[] =
    "QDialog, QMessageBox { background-color: rgb(215, 235, 255); color: rgb(0, 0, 0); }";

class ProgramStyle : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

} // namespace vistrel
