#include "app/picture_commands.h"

#include "app/cli_commands.h"
#include "library/core/list_texts.h"
#include "library/core/save_as.h"

#include <iostream>

namespace vistrel {

namespace {

int Convert(const std::string& in, const std::string& out, bool replace)
{
    const auto outType = SaveAsTypeOfFileName(out);
    if (!outType) {
        std::cerr << "vistrel: " << out << ": the name must end in .bmp, .jpg, .tif, .png or .gif\n";
        return 2;
    }
    const SaveCopyResult result = SavePictureCopy(in, out, outType->type, replace);
    if (result.status == SaveCopyStatus::Saved)
        return 0;
    std::cerr << "vistrel: " << result.error;
    if (result.status == SaveCopyStatus::Exists)
        std::cerr << " (--replace replaces it)";
    std::cerr << "\n";
    return result.status == SaveCopyStatus::NotAPicture ? 2 : 1;
}

int Info(const std::string& file)
{
    SaveCopyResult failure;
    const auto image = ReadPicture(file, failure);
    if (!image) {
        std::cerr << "vistrel: " << failure.error << "\n";
        return failure.status == SaveCopyStatus::NotAPicture ? 2 : 1;
    }
    return PrintToStdout(PictureSizeText(image->GetWidth(), image->GetHeight(), image->GetBpp()) + "\n") ? 0 : 1;
}

} // namespace

bool IsPictureCommand(const CommandLine& commandLine)
{
    return !commandLine.convert.empty() || !commandLine.info.empty();
}

int RunPictureCommand(const CommandLine& cl)
{
    if (!cl.info.empty())
        return Info(cl.info);
    return Convert(cl.convert[0], cl.convert[1], cl.replace);
}

} // namespace vistrel
