// Runs the "Icon Capture&Search" dialog as the main window's command does, for
// the end-to-end test of the icon dialogs until the main window has the command.
// Usage: icon_dialog_host [LANGUAGE_FILE]   (VISTREL_HOME names the program folder)
// It says on stdout "list N" each time the icon capture list has changed (N
// entries), "closed" when the dialog has closed and "ended" once no search of it
// is left, then ends.
#include "icons/icon_search_dialog.h"
#include "icons/icon_search_task.h"
#include "library/core/capture_lists.h"
#include "library/model/capture_library.h"
#include "settings/env.h"
#include "ui/program_style.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>

using namespace vistrel;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(new ProgramStyle);
    app.setStyleSheet(kDialogStyleSheet);
    theEnv.Load();
    if (argc > 1)
        g_strLanguageFile = argv[1];

    QWidget owner; // stands for the main window: the search belongs to it
    CaptureLibrary library(g_captureLists);
    QObject::connect(&library, &CaptureLibrary::listChanged, [] {
        std::printf("list %zu\n", g_captureLists.icons.size());
        std::fflush(stdout);
    });
    RunIconCaptureDialog(&owner, library);
    std::printf("closed\n");
    std::fflush(stdout);

    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (owner.findChildren<IconSearchTask*>().isEmpty()) {
            std::printf("ended\n");
            std::fflush(stdout);
            app.quit();
        }
    });
    poll.start(20);
    return app.exec();
}
