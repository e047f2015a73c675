#pragma once
// The command-line commands. --set and --capture are carried out by the running
// copy when there is one, else here under the instance lock (so no copy can
// start meanwhile). No toolkit: these run in the small launcher.

#include "app/command_line.h"
#include "base/instance_channel.h"
#include "base/unique_fd.h"
#include "capture/core/capture_request.h"

#include <optional>
#include <signal.h>

namespace vistrel {

// Parses the arguments and applies --home (the settings record is rebuilt so its
// defaults hang from that folder). nullopt after printing why on stderr.
std::optional<CommandLine> TakeCommandLine(int argc, char** argv);

int PrintSettings();

// The opening of vistrel-cli's and vistrel-gui's main(): takes the command line
// (TakeCommandLine) and answers --help, --version, --print-man and
// --print-settings, which both answer alike. The exit status when that ends the run (2: the arguments are refused);
// otherwise nullopt, with the command line in commandLine.
std::optional<int> BeginMain(int argc, char** argv, CommandLine& commandLine);

// --set or --capture: handed to the running copy, or carried out here once no
// copy runs (waiting for another command-line run to end first).
int RunCommand(const CommandLine& commandLine);

// Prints the running copy's answer as the command would have; its exit status.
int ReportReply(const ChannelReply& reply);

// The words a command travels in to the running copy, and back.
ChannelRequest CommandRequest(const CommandLine& commandLine);

// What every start says on stderr when it has to wait for another run of the
// same program folder to end (HandOverOrLock's waiting).
void SayWaitingForAnotherRun();

// The signals that end a long command (a recording, a timer capture) cleanly:
// SIGINT, SIGTERM and SIGHUP. Blocked in every thread and taken by one.
sigset_t EndSignals();

// Takes the end signals from here on, not fatal: the descriptor becomes
// readable when one arrives (for HandOverOrLock's interruptFd, and for the
// command's own wait). Invalid, and the signals left fatal as they were, when
// no such descriptor can be made.
UniqueFd TakeEndSignals();

// Writes text to stdout; false (after saying so on stderr) when it could not be
// written whole, as to a full disk or a closed pipe.
bool PrintToStdout(const std::string& text);

} // namespace vistrel
