#include "record/core/record_request.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace vistrel {

namespace {

std::optional<int64_t> WholeNumber(const std::string& word)
{
    int64_t value = 0;
    const char* begin = word.data();
    const char* end = begin + word.size();
    if (begin != end && *begin == '+')
        ++begin;
    auto [stop, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || stop != end || begin == end)
        return std::nullopt;
    return value;
}

bool NumberIn(const std::string& word, int64_t low, int64_t high, int& into)
{
    const auto value = WholeNumber(word);
    if (!value || *value < low || *value > high)
        return false;
    into = int(*value);
    return true;
}

} // namespace

std::optional<RecordRequest> ParseRecordRequest(const RecordWords& words, const std::vector<FourCC>& installed,
                                                FourCC defaultCode, std::string& error)
{
    RecordRequest request;
    request.options.compressorFourCC = defaultCode;
    const std::vector<std::string>& a = words.area;
    if (a.size() == 1 && a[0] == "fullscreen") {
        request.fullScreen = true;
    } else if (!a.empty() && a[0] == "area") {
        if (a.size() != 5) {
            error = "--record area takes X Y W H";
            return std::nullopt;
        }
        int64_t v[4];
        for (int i = 0; i < 4; ++i) {
            const auto n = WholeNumber(a[size_t(i) + 1]);
            if (!n) {
                error = "--record area: \"" + a[size_t(i) + 1] + "\" is not a whole number";
                return std::nullopt;
            }
            v[i] = *n;
        }
        if (v[2] <= 0 || v[3] <= 0) {
            error = "--record area: the area is empty (width and height must be at least 1)";
            return std::nullopt;
        }
        const int64_t right = v[0] + v[2] - 1, bottom = v[1] + v[3] - 1;
        const auto fits = [](int64_t n) { return n >= INT32_MIN && n <= INT32_MAX; };
        if (!fits(v[0]) || !fits(v[1]) || !fits(right) || !fits(bottom)) {
            error = "--record area: the area lies beyond any screen";
            return std::nullopt;
        }
        request.region = {int(v[0]), int(v[1]), int(right), int(bottom)};
    } else {
        error = "--record takes fullscreen or area X Y W H";
        return std::nullopt;
    }

    if (words.seconds) {
        double s = 0;
        const std::string& w = *words.seconds;
        auto [stop, ec] = std::from_chars(w.data(), w.data() + w.size(), s, std::chars_format::fixed);
        if (ec != std::errc() || stop != w.data() + w.size() || w.empty() || !std::isfinite(s) || s <= 0 ||
            s > 1e9) {
            error = "--seconds takes a number of seconds above 0, not \"" + w + "\"";
            return std::nullopt;
        }
        request.seconds = s;
    }
    if (words.codec) {
        const auto code = ParseFourCC(*words.codec);
        if (!code || std::find(installed.begin(), installed.end(), *code) == installed.end()) {
            error = "--codec: no installed compressor \"" + *words.codec + "\" (see --list-codecs)";
            return std::nullopt;
        }
        request.options.compressorFourCC = *code;
    }
    if (words.rate) {
        if (!NumberIn(*words.rate, kMinPlaybackFps, kMaxPlaybackFps, request.options.playbackFps)) {
            error = "--rate takes " + std::to_string(kMinPlaybackFps) + " to " + std::to_string(kMaxPlaybackFps) +
                    " frames per second, not \"" + *words.rate + "\"";
            return std::nullopt;
        }
        // Grabbed as often as the rate plays them back: the file keeps real time.
        request.options.captureIntervalMs = 0;
    }
    if (words.quality) {
        int q = 0;
        if (!NumberIn(*words.quality, 0, 100, q)) {
            error = "--quality takes 0 to 100, not \"" + *words.quality + "\"";
            return std::nullopt;
        }
        request.options.quality = q * 100;
    }
    return request;
}

} // namespace vistrel
