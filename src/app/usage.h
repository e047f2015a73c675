#pragma once
// The command line described once: every option with its words and what it
// does, and the notes around them (exit status, environment, files, examples).
// --help and the manual page (--print-man, which the build installs as
// vistrel.1) are both made from these tables, so the two cannot disagree.
// Plain data and text; any thread.

#include <span>
#include <string>
#include <string_view>

namespace vistrel {

struct OptionDoc {
    std::string_view synopsis; // "--capture SHAPE [POINTS]"
    // A paragraph; every further "\n"-separated piece is a line of its own (a
    // list, such as the shapes).
    std::string_view text;
    bool belongsToPrevious = false; // goes with the command above it (--seconds with --record)
};

struct NoteItem {
    std::string_view term; // empty: a plain paragraph
    std::string_view text;
};

struct UsageNote {
    std::string_view title; // "Exit status"
    std::span<const NoteItem> items;
    bool inHelp = true; // the examples and files are for the manual page alone
};

std::span<const OptionDoc> OptionDocs();
std::span<const UsageNote> UsageNotes();
// The paragraphs before the options.
std::span<const std::string_view> UsageIntro();

// --help: the options, the notes, then the preferences of the registry store.
std::string UsageText();
// --print-man: the same as a manual page in roff (man(7)).
std::string ManualPage(std::string_view version);

} // namespace vistrel
