#include "base/text_encoding.h"

#include <array>
#include <cstdint>

namespace vistrel {

namespace {

constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// UTF-16 code units as UTF-8: count of them, unit(k) gives the k-th. An
// unpaired surrogate becomes U+FFFD.
template <typename UnitAt>
std::string Utf8FromUnits(size_t count, UnitAt unit)
{
    std::string out;
    out.reserve(count * 3);
    for (size_t k = 0; k < count; ++k) {
        const char16_t u = unit(k);
        if (u >= 0xD800 && u < 0xDC00 && k + 1 < count) {
            const char16_t low = unit(k + 1);
            if (low >= 0xDC00 && low < 0xE000) {
                AppendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (low - 0xDC00));
                ++k;
                continue;
            }
        }
        AppendUtf8(out, u >= 0xD800 && u < 0xE000 ? char32_t(0xFFFD) : char32_t(u));
    }
    return out;
}

} // namespace

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

size_t Utf8SequenceAt(std::string_view s)
{
    if (s.empty())
        return 0;
    auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    size_t n = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 && lead < 0xF0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
    if (n == 0 || s.size() < n)
        return 0;
    for (size_t k = 1; k < n; ++k)
        if ((byte(k) & 0xC0) != 0x80)
            return 0;
    // Overlong forms, surrogates and values past U+10FFFF are not valid.
    if ((lead == 0xE0 && byte(1) < 0xA0) || (lead == 0xED && byte(1) >= 0xA0) ||
        (lead == 0xF0 && byte(1) < 0x90) || (lead == 0xF4 && byte(1) >= 0x90))
        return 0;
    return n;
}

bool IsValidUtf8(std::string_view s)
{
    while (!s.empty()) {
        size_t n = Utf8SequenceAt(s);
        if (n == 0)
            return false;
        s.remove_prefix(n);
    }
    return true;
}

std::string Utf8FromCp1252(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    for (char ch : bytes) {
        auto c = static_cast<unsigned char>(ch);
        if (c >= 0x80 && c < 0xA0)
            AppendUtf8(out, kCp1252High[c - 0x80]);
        else
            AppendUtf8(out, c);
    }
    return out;
}

std::string Utf8FromUtf16(std::span<const unsigned char> bytes, bool bigEndian)
{
    return Utf8FromUnits(bytes.size() / 2, [&](size_t k) -> char16_t {
        const size_t i = 2 * k;
        return bigEndian ? char16_t(bytes[i] << 8 | bytes[i + 1]) : char16_t(bytes[i + 1] << 8 | bytes[i]);
    });
}

std::string Utf8FromUtf16(std::u16string_view text)
{
    return Utf8FromUnits(text.size(), [&](size_t k) { return text[k]; });
}

std::string DecodeText(std::span<const unsigned char> bytes, bool* legacy)
{
    if (legacy)
        *legacy = false;
    if (bytes.size() >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF)))
        return Utf8FromUtf16(bytes.subspan(2), bytes[0] == 0xFE);
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        bytes = bytes.subspan(3);
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (IsValidUtf8(text))
        return std::string(text);
    if (legacy)
        *legacy = true;
    return Utf8FromCp1252(text);
}

std::string_view CutUtf8(std::string_view s, size_t maxBytes)
{
    if (s.size() <= maxBytes)
        return s;
    size_t end = maxBytes;
    // Step back over continuation bytes to the start of the cut sequence.
    while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80)
        --end;
    return s.substr(0, end);
}

bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

std::string FoldCase(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        c = AsciiLower(c);
    return out;
}

} // namespace vistrel
