// vistrel-record: the recorder's commands (--record, --list-codecs), which
// vistrel-cli hands over so that only they load FFmpeg.

#include "app/cli_commands.h"
#include "app/command_line.h"
#include "app/record_commands.h"

#include <iostream>

using namespace vistrel;

int main(int argc, char** argv)
{
    auto cl = TakeCommandLine(argc, argv);
    if (!cl)
        return 2;
    if (cl->listCodecs)
        return ListCodecs();
    if (!cl->record.empty())
        return RunRecordCommand(*cl);
    std::cerr << "vistrel: nothing to record (see --help)\n";
    return 2;
}
