// Runs the "AVI Capture" dialog as the main window's command does, for the
// end-to-end test of the recording dialog until the main window has the command.
// Usage: avi_dialog_host [LANGUAGE_FILE]   (VISTREL_HOME names the program folder)
// It says on stdout "list N PATH" each time a recording has been added to the
// AVI capture list (N entries, the last one's path), "closed" when the dialog
// has closed, then ends. SIGUSR1 stands for the AVI hotkey: it prints
// "hotkey taken" or "hotkey free" after handing the press to the dialog.
#include "library/core/capture_lists.h"
#include "library/model/capture_library.h"
#include "record/dialogs/avi_capture_dialog.h"
#include "settings/env.h"
#include "ui/program_style.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <csignal>
#include <cstdio>
#include <unistd.h>

using namespace vistrel;

namespace {
int g_signalPipe[2];
void OnSignal(int) { [[maybe_unused]] auto n = ::write(g_signalPipe[1], "h", 1); }
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(new ProgramStyle);
    app.setStyleSheet(kDialogStyleSheet);
    theEnv.Load();
    if (argc > 1)
        g_strLanguageFile = argv[1];

    if (::pipe(g_signalPipe) != 0)
        return 1;
    QSocketNotifier hotkey(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&hotkey, &QSocketNotifier::activated, [] {
        char c;
        [[maybe_unused]] auto n = ::read(g_signalPipe[0], &c, 1);
        std::printf(StopRunningRecording() ? "hotkey taken\n" : "hotkey free\n");
        std::fflush(stdout);
    });
    std::signal(SIGUSR1, OnSignal);

    QWidget owner; // stands for the main window
    owner.setWindowTitle("avi host main");
    owner.resize(200, 100);
    owner.show();
    CaptureLibrary library(g_captureLists);
    QObject::connect(&library, &CaptureLibrary::listChanged, [] {
        std::printf("list %zu %s\n", g_captureLists.avis.size(), g_captureLists.avis.back().c_str());
        std::fflush(stdout);
    });
    RunAviCaptureDialog(&owner, library);
    std::printf("closed\n");
    std::fflush(stdout);
    return 0;
}
