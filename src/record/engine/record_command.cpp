#include "record/engine/record_command.h"

#include "capture/core/capture_geometry.h"
#include "platform/ffmpeg/compressor_catalog.h"
#include "record/core/record_geometry.h"
#include "record/engine/avi_recorder.h"
#include "settings/env.h"

#include <variant>

namespace vistrel {

std::optional<PreparedRecording> PrepareRecording(const RecordWords& words, int& status, std::string& error)
{
    std::vector<FourCC> installed;
    for (const ffmpeg::CompressorInfo& info : ffmpeg::InstalledCompressors())
        installed.push_back(info.code);
    auto request = ParseRecordRequest(words, installed, ffmpeg::kDefaultCompressor, error);
    if (!request) {
        status = 2;
        return std::nullopt;
    }
    int screenWidth = 0, screenHeight = 0;
    if (!ReadScreenSize(screenWidth, screenHeight, error)) {
        status = 1;
        return std::nullopt;
    }
    if (request->fullScreen)
        return PreparedRecording{*request, FullScreenRegion(screenWidth, screenHeight)};
    const RecordRegion& r = request->region;
    const auto visible = VisiblePart(r.left, r.top, int(r.width()), int(r.height()), {0, 0, screenWidth, screenHeight});
    if (const auto* problem = std::get_if<CaptureAreaError>(&visible)) {
        error = "cannot record that area: " + DescribeAreaError(*problem);
        status = 2;
        return std::nullopt;
    }
    return PreparedRecording{*request, r};
}

RecordReport ReportRecordEnd(const RecordEnd& end)
{
    RecordReport report;
    report.path = end.path;
    if (!end.error.empty())
        report.problems.push_back(end.error);
    if (!end.settingsSaved)
        report.problems.push_back("cannot write " + CEnv::SettingsFilePath());
    if (!end.path.empty() && !NamesFile(end.path, end.device, end.inode)) {
        report.problems.push_back(end.path + " is gone: it or its folder was removed or renamed while recording");
        report.path.clear();
    } else if (end.path.empty() && end.error.empty()) {
        report.problems.push_back("nothing was recorded");
    }
    report.status = end.ok && end.settingsSaved && !report.path.empty() ? 0 : 1;
    return report;
}

} // namespace vistrel
