#pragma once
// The texts of the captured-file list: its columns (name, path, size, creation
// date), the file count of the status bar and the preview's size text. Plain
// text work, any thread (RowTextsOf also looks at the file); the day and month
// names come from the caller, so the window can give them in the user's
// language.

#include "i18n/language_texts.h"

#include <array>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace vistrel {

// Column 2: below 1024 "%d Bytes", else "%dKB" with the size divided by 1024.
// The whole 64-bit size counts, so a 5 GB file shows its kilobytes and not
// what is left of it modulo 4 GB.
std::string FileSizeText(uint64_t bytes);

// Names for the date text, Sunday first and January first.
struct DateNames {
    std::array<std::string, 7> weekdays;
    std::array<std::string, 12> months;
};
// The English names.
const DateNames& EnglishDateNames();

// Column 3: "%A, %B %d, %Y" as strftime writes it ("Monday, December 07, 2026")
// with the names given.
std::string LongDateText(std::string_view weekday, std::string_view month, int dayOfMonth, int year);
// The same for a moment in the local time zone.
std::string LongDateText(std::time_t when, const DateNames& names);

// The four columns of one entry. All empty when no file is at the path any
// more: the row of a vanished file shows no text.
struct RowTexts {
    std::string name;
    std::string path;
    std::string size;
    std::string created;
};
RowTexts RowTextsOf(const std::string& path, const DateNames& names);

// The status bar's count: "Total files: %d", or a translation of it. The
// count goes where the first "%d" stands and nowhere else; a translation
// without one gives the English text, so the count is never lost.
std::string TotalFilesText(size_t count, std::string_view format = kTotalFilesKey);

// The preview's size text: " %d x %d x %d" (width, height, bits per pixel; the
// text begins with a blank).
std::string PictureSizeText(int width, int height, int bitsPerPixel);

} // namespace vistrel
