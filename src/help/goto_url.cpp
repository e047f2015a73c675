#include "help/goto_url.h"

#include "base/trace.h"
#include "help/core/browser_command.h"
#include "help/core/link_errors.h"
#include "settings/default_tools.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>

#include <cstdlib>
#include <optional>

namespace vistrel {

namespace {

constexpr int kStarted = 42;
constexpr int kNotFound = 2;
constexpr int kNoAssociation = 31;
constexpr qint64 kDesktopEntryLimitBytes = 1 << 20;

std::string EnvOr(const char* name, const std::string& fallback)
{
    const char* value = std::getenv(name);
    return value && *value ? std::string(value) : fallback;
}

// The desktop entry id that xdg-mime names for web pages; empty when none.
QString DefaultBrowserId()
{
    if (FindOnPath("xdg-mime").empty())
        return {};
    QProcess query;
    query.start("xdg-mime", {"query", "default", "text/html"});
    if (!query.waitForFinished(kBrowserQueryLimitMs)) {
        query.kill();
        query.waitForFinished();
        return {};
    }
    if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
        return {};
    return QString::fromUtf8(query.readAllStandardOutput()).section('\n', 0, 0).trimmed();
}

std::optional<std::string> DefaultBrowserExec()
{
    const QString id = DefaultBrowserId();
    if (id.isEmpty())
        return std::nullopt;
    const char* home = std::getenv("HOME");
    const std::string dataHome = EnvOr("XDG_DATA_HOME", home && *home ? std::string(home) + "/.local/share" : "");
    for (const auto& path : DesktopEntryPaths(id.toStdString(), dataHome, EnvOr("XDG_DATA_DIRS", ""))) {
        QFile file(QString::fromStdString(path));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        // The first entry found is the one the desktop means, usable or not.
        return DesktopEntryExec(file.read(kDesktopEntryLimitBytes).toStdString());
    }
    return std::nullopt;
}

} // namespace

int StartDetachedProgram(const QStringList& command)
{
    if (command.isEmpty() || command.front().isEmpty())
        return kNotFound;
    QString program = command.front();
    if (!program.contains('/')) {
        program = QString::fromStdString(FindOnPath(program.toStdString()));
    } else if (!QFileInfo(program).isExecutable()) {
        program.clear();
    }
    if (program.isEmpty())
        return kNotFound;
    return QProcess::startDetached(program, command.mid(1)) ? kStarted : 0;
}

int GotoURL(const QString& url)
{
    const int opened = StartDetachedProgram({"xdg-open", url});
    Trace("open link " + url.toStdString() + " with xdg-open: " + std::to_string(opened));
    if (opened > kOpenedAbove)
        return opened;
    const auto exec = DefaultBrowserExec();
    if (!exec)
        return opened == kNotFound ? kNoAssociation : opened;
    QStringList command;
    for (const auto& arg : BrowserCommand(*exec, url.toStdString()))
        command << QString::fromStdString(arg);
    const int started = command.isEmpty() ? kNoAssociation : StartDetachedProgram(command);
    Trace("open link " + url.toStdString() + " with the browser: " + std::to_string(started));
    return started;
}

void ReportLinkError(QWidget* parent, int code)
{
    QApplication::beep();
    const QString text = QString::fromStdString(LinkErrorMessage(code));
    Trace("told the user: " + QString(text).replace('\n', ' ').toStdString());
    QMessageBox box(QMessageBox::Warning, "Vistrel", text, QMessageBox::Ok, parent);
    box.setObjectName("linkError");
    box.exec();
}

} // namespace vistrel
