#pragma once
// Opens a web address in the user's browser. First the desktop's opener
// (xdg-open), started detached with the address as its one argument; when there
// is none, the browser that the desktop names for web pages (xdg-mime's default
// for text/html), started from its desktop entry's Exec line with the address
// in place of its field code. Nothing goes through a shell.
//
// Results are the codes of a failed "open", so ReportLinkError can name them:
// above 32 the browser was started; 2 its program is missing, 31 the desktop
// names no browser, 0 it could not be started. Whether the page loads is the
// browser's business. User-interface thread: it may wait up to
// kBrowserQueryLimitMs for xdg-mime.

#include <QString>
#include <QStringList>

class QWidget;

namespace vistrel {

inline constexpr int kBrowserQueryLimitMs = 3000;

int GotoURL(const QString& url);

// The program (found on PATH unless it holds a '/') started detached with its
// arguments: above 32 when started, 2 when there is no such program, 0 when it
// could not be started.
int StartDetachedProgram(const QStringList& command);

// The "Unable to open hyperlink" box for a result code, with a beep.
void ReportLinkError(QWidget* parent, int code);

} // namespace vistrel
