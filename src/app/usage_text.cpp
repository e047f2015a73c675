// The two renderings of the usage tables: --help as plain text for a terminal
// of 80 columns, and the manual page in roff.

#include "app/usage.h"

#include "settings/preferences.h"

#include <vector>

namespace vistrel {

namespace {

constexpr size_t kHelpWidth = 79;
constexpr size_t kTextColumn = 27;

// The "\n"-separated pieces of a text.
std::vector<std::string_view> Pieces(std::string_view text)
{
    std::vector<std::string_view> pieces;
    for (size_t start = 0;;) {
        const size_t end = text.find('\n', start);
        pieces.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos)
            return pieces;
        start = end + 1;
    }
}

// Fills text into lines of at most kHelpWidth columns; the first line goes on
// from firstLine (already that long), the others start with indent blanks.
std::string Fill(std::string firstLine, std::string_view text, size_t indent)
{
    std::string out;
    std::string line = std::move(firstLine);
    bool lineHasWord = false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(' ', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view word = text.substr(start, end - start);
        start = end + 1;
        if (word.empty())
            continue;
        if (lineHasWord && line.size() + 1 + word.size() > kHelpWidth) {
            out += line + "\n";
            line.assign(indent, ' ');
            lineHasWord = false;
        }
        if (lineHasWord)
            line += ' ';
        line += word;
        lineHasWord = true;
    }
    return out + line + "\n";
}

// "  TERM     text": the term, then its text from kTextColumn on (on the next
// line when the term reaches that far), list lines below it.
std::string HelpItem(std::string_view term, std::string_view text, size_t indent)
{
    std::string head = std::string(indent, ' ') + std::string(term);
    std::string out;
    if (head.size() + 1 > kTextColumn) {
        out = head + "\n";
        head.clear();
    }
    head.resize(kTextColumn, ' ');
    const auto pieces = Pieces(text);
    out += Fill(std::move(head), pieces[0], kTextColumn);
    for (size_t i = 1; i < pieces.size(); ++i)
        out += std::string(kTextColumn + 2, ' ') + std::string(pieces[i]) + "\n";
    return out;
}

// Text for roff: a backslash written as one, the dashes of options as minus
// signs (so they can be searched for and copied), no line taken for a request.
std::string Roff(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\')
            out += "\\e";
        else if (c == '-' && ((i + 1 < text.size() && text[i + 1] == '-') || (i > 0 && text[i - 1] == '-')))
            out += "\\-";
        else
            out += c;
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\''))
        out.insert(0, "\\&");
    return out;
}

// A paragraph's text and its list lines, one roff input line each.
std::string RoffBody(std::string_view text)
{
    const auto pieces = Pieces(text);
    std::string out = Roff(pieces[0]) + "\n";
    if (pieces.size() > 1) {
        out += ".nf\n.in +2n\n";
        for (size_t i = 1; i < pieces.size(); ++i)
            out += Roff(pieces[i]) + "\n";
        out += ".in\n.fi\n";
    }
    return out;
}

std::string RoffNote(const UsageNote& note)
{
    std::string out;
    for (const NoteItem& item : note.items) {
        if (item.term.empty())
            out += ".PP\n" + RoffBody(item.text);
        else
            out += ".TP\n.B " + Roff(item.term) + "\n" + RoffBody(item.text);
    }
    return out;
}

std::string Upper(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return out;
}

std::string PreferenceDefault(const Preference& p) { return " (default " + std::to_string(p.defaultValue) + ")"; }

} // namespace

std::string UsageText()
{
    std::string text = "Usage: vistrel [OPTION]... [0]\n";
    for (std::string_view paragraph : UsageIntro())
        text += Fill({}, paragraph, 0) + "\n";
    for (const OptionDoc& option : OptionDocs())
        text += HelpItem(option.synopsis, option.text, option.belongsToPrevious ? 4 : 2);
    for (const UsageNote& note : UsageNotes()) {
        if (!note.inHelp)
            continue;
        text += "\n";
        if (!note.title.empty())
            text += std::string(note.title) + ":\n";
        for (size_t i = 0; i < note.items.size(); ++i) {
            const NoteItem& item = note.items[i];
            if (item.term.empty())
                text += (i > 0 ? "\n" : "") + Fill({}, item.text, 0);
            else
                text += HelpItem(item.term, item.text, 2);
        }
    }
    text += "\nPreferences (registry.ini of the program folder), --set NAME=1 (on) or 0:\n";
    for (const Preference& p : Preferences())
        text += HelpItem(p.name, std::string(p.help) + PreferenceDefault(p), 2);
    return text;
}

std::string ManualPage(std::string_view version)
{
    std::string page = ".TH VISTREL 1 \"\" \"Vistrel " + Roff(version) + "\" \"User Commands\"\n";
    page += ".SH NAME\nvistrel \\- screen capture for the X desktop\n";
    page += ".SH SYNOPSIS\n.B vistrel\n[\\fIOPTION\\fR]... [\\fB0\\fR]\n";
    page += ".SH DESCRIPTION\n";
    for (std::string_view paragraph : UsageIntro())
        page += ".PP\n" + Roff(paragraph) + "\n";
    page += ".SH OPTIONS\n";
    for (const OptionDoc& option : OptionDocs()) {
        if (option.belongsToPrevious)
            page += ".RS\n";
        page += ".TP\n.B " + Roff(option.synopsis) + "\n" + RoffBody(option.text);
        if (option.belongsToPrevious)
            page += ".RE\n";
    }
    for (const UsageNote& note : UsageNotes()) {
        if (!note.title.empty())
            page += ".SH " + Upper(note.title) + "\n";
        else
            page += ".SH NOTES\n";
        page += RoffNote(note);
    }
    page += ".SH PREFERENCES\nSwitches in registry.ini of the program folder, set with "
            "\\fB\\-\\-set\\fR \\fINAME\\fR=1 (on) or 0.\n";
    for (const Preference& p : Preferences())
        page += ".TP\n.B " + Roff(p.name) + "\n" + Roff(std::string(p.help) + PreferenceDefault(p)) + "\n";
    return page;
}

} // namespace vistrel
