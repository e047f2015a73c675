#pragma once
// Language files come from translators' editors: UTF-8 (with or without a byte
// order mark), UTF-16 with a mark, or an old Western code page. Everything the
// program holds is UTF-8; these turn the rest into it.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace vistrel {

// Appends one character as UTF-8 (surrogates are the caller's business).
void AppendUtf8(std::string& out, char32_t c);

// The length of the valid UTF-8 sequence that starts s; 0 when there is none.
size_t Utf8SequenceAt(std::string_view s);
bool IsValidUtf8(std::string_view s);

// Windows-1252 bytes as UTF-8. The five bytes the code page leaves undefined
// become the control characters of the same number, as Windows maps them.
std::string Utf8FromCp1252(std::string_view bytes);

// UTF-16 code units (little- or big-endian) as UTF-8; an unpaired surrogate
// becomes U+FFFD and an odd last byte is dropped.
std::string Utf8FromUtf16(std::span<const unsigned char> bytes, bool bigEndian);
// The same for code units already in memory (resource names).
std::string Utf8FromUtf16(std::u16string_view text);

// Any bytes as UTF-8 text: a UTF-8 or UTF-16 byte order mark is honoured;
// without one, valid UTF-8 is kept and anything else is read as Windows-1252.
// legacy is set when that last conversion happened.
std::string DecodeText(std::span<const unsigned char> bytes, bool* legacy = nullptr);

// s cut to at most maxBytes without splitting a UTF-8 sequence.
std::string_view CutUtf8(std::string_view s, size_t maxBytes);

// Names compared as the platform's INI files compare them: letters without
// regard to case (ASCII; other characters exactly).
bool EqualNoCase(std::string_view a, std::string_view b);
std::string FoldCase(std::string_view s);

} // namespace vistrel
