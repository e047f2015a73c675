#include "desktop/desktop_commands.h"

#include "base/desktop_entry.h"
#include "base/registry_store.h"
#include "base/trace.h"
#include "commands/command_ids.h"
#include "desktop/core/open_outcome.h"
#include "desktop/core/wallpaper_values.h"
#include "desktop/properties_dialog.h"
#include "desktop/wallpaper.h"
#include "help/core/link_errors.h"
#include "platform/qt/desktop_open.h"
#include "platform/qt/file_manager.h"

#include <QApplication>
#include <QMessageBox>

namespace vistrel {

namespace {

void Warn(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, "Vistrel", text, QMessageBox::Ok, parent);
    box.setObjectName("desktopMessage");
    box.exec();
}

void Wallpaper(int id, const std::string& path, QWidget* parent)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const WallpaperOutcome outcome = id == ID_WALLPAPER_RESTORE ? RestoreWallpaper()
                                     : SetWallpaper(path, id == ID_WALLPAPER_TILE      ? WallpaperStyle::Tile
                                                          : id == ID_WALLPAPER_STRETCH ? WallpaperStyle::Stretch
                                                                                       : WallpaperStyle::Center);
    QApplication::restoreOverrideCursor();
    if (!outcome.done)
        Warn(parent, "The wallpaper could not be changed: " + QString::fromStdString(outcome.error));
}

void SetSkin(const std::string& path)
{
    RegistryStore store(RegistryStore::DefaultPath());
    WriteBrowserSkin(store, path);
    if (!store.Save())
        Trace("cannot write " + RegistryStore::DefaultPath());
}

void RemoveSkin(QWidget* parent)
{
    QMessageBox box(QMessageBox::Question, "Remove Internet Explorer skin?",
                    "Do you want to remove the Internet Explorer skin?", QMessageBox::Yes | QMessageBox::No, parent);
    box.setObjectName("removeSkin");
    if (box.exec() == QMessageBox::No)
        return;
    SetSkin("");
}

void ShellOpen(const std::string& path, QWidget* parent)
{
    int code = CheckFileToOpen(path);
    if (code == 0)
        code = OpenerOutcome(OpenInDesktop(QString::fromStdString(path)));
    Trace("shell open " + path + " gives " + std::to_string(code));
    if (code <= 32)
        Warn(parent, QString::fromStdString(OpenErrorText(code)));
}

void ShowProperties(const std::string& path, QWidget* parent)
{
    const QString file = QString::fromStdString(path);
    if (ShowPropertiesInFileManager(file)) {
        Trace("properties shown by the file manager");
        return;
    }
    PropertiesDialog dialog(file, parent);
    Trace("properties dialog for " + path);
    dialog.exec();
}

} // namespace

bool IsDesktopCommand(int id)
{
    switch (id) {
    case ID_WALLPAPER_CENTER:
    case ID_WALLPAPER_TILE:
    case ID_WALLPAPER_STRETCH:
    case ID_WALLPAPER_RESTORE:
    case ID_SKIN_SET:
    case ID_SKIN_REMOVE:
    case ID_SHELL_OPEN:
    case ID_FILE_PROPERTY: return true;
    default: return false;
    }
}

void RunDesktopCommand(int id, const std::string& path, QWidget* parent)
{
    switch (id) {
    case ID_WALLPAPER_CENTER:
    case ID_WALLPAPER_TILE:
    case ID_WALLPAPER_STRETCH:
    case ID_WALLPAPER_RESTORE: Wallpaper(id, path, parent); break;
    case ID_SKIN_SET: SetSkin(path); break;
    case ID_SKIN_REMOVE: RemoveSkin(parent); break;
    case ID_SHELL_OPEN: ShellOpen(path, parent); break;
    case ID_FILE_PROPERTY: ShowProperties(path, parent); break;
    default: break;
    }
}

void RunOutsideTool(const ToolEntry& tool, const std::string& file, QWidget* parent)
{
    const bool started = StartToolOn(tool.command, file);
    Trace("tool " + tool.command + (started ? " started" : " did not start"));
    if (!started)
        Warn(parent, QString("\"%1\" could not be started.\nIts command is: %2")
                         .arg(QString::fromStdString(tool.name), QString::fromStdString(tool.command)));
}

} // namespace vistrel
