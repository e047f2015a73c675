#include "help/goto_url.h"

#include "base/child_process.h"
#include "base/desktop_entry.h"
#include "base/trace.h"
#include "help/core/browser_command.h"
#include "help/core/link_errors.h"

#include <QApplication>
#include <QMessageBox>

#include <string>
#include <vector>

namespace vistrel {

namespace {

constexpr int kStarted = 42;
constexpr int kNotFound = 2;
constexpr int kNoAssociation = 31;

} // namespace

int StartDetachedProgram(const QStringList& command)
{
    std::vector<std::string> argv;
    for (const QString& arg : command)
        argv.push_back(arg.toStdString());
    switch (StartDetached(argv)) {
    case DetachedStart::Started: return kStarted;
    case DetachedStart::NotFound: return kNotFound;
    case DetachedStart::Failed: break;
    }
    return 0;
}

int GotoURL(const QString& url)
{
    const int opened = StartDetachedProgram({"xdg-open", url});
    Trace("open link " + url.toStdString() + " with xdg-open: " + std::to_string(opened));
    if (opened > kOpenedAbove)
        return opened;
    const auto browser = DefaultApplicationFor("text/html", kBrowserQueryLimitMs);
    if (!browser)
        return opened == kNotFound ? kNoAssociation : opened;
    QStringList command;
    for (const auto& arg : BrowserCommand(browser->exec, url.toStdString()))
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
