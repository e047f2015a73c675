#pragma once
// The built-in cursor pictures a recording may draw instead of the real
// cursor: their names as the cursor options list them, in that order, the
// picture of each (a 32 x 32 drawing among the program's pictures) and the
// point of the picture that sits on the pointer. Drawing them is the
// windowed side's work (ui/cursor_pictures.h).

#include <array>
#include <string_view>

namespace vistrel {

struct BuiltInCursor {
    std::string_view name;    // as listed
    std::string_view picture; // file name among the pictures, without ".svg"
    int hotX, hotY;           // in the 32 x 32 picture
};

// Pens and pencils write with their tips, the pointers point with theirs, the
// help arrow with its point; the notes sit on a note head and the handset on
// its ear piece, as their middles are empty; the rest sit centred on the pointer.
inline constexpr std::array<BuiltInCursor, 34> kBuiltInCursors = {{
    {"CONTEXTHELP", "contexthelp", 3, 2},
    {"MAGNIFY", "magnify", 13, 13},
    {"NODRAG", "nodrag", 16, 16},
    {"SPLITBARH", "splitbarh", 16, 16},
    {"SPLITBARV", "splitbarv", 16, 16},
    {"TOP OF TABLE", "top-of-table", 16, 3},
    {"BOOK1", "book1", 16, 16},
    {"BOOK2", "book2", 16, 16},
    {"CLIP1", "clip1", 16, 16},
    {"CLIP2", "clip2", 16, 16},
    {"CLOCK1", "clock1", 16, 16},
    {"CLOCK2", "clock2", 16, 16},
    {"CARDFILE1", "cardfile1", 16, 16},
    {"CARDFILE2", "cardfile2", 16, 16},
    {"DISK1", "disk1", 16, 16},
    {"DISK2", "disk2", 16, 16},
    {"FILES1", "files1", 16, 16},
    {"FILES2", "files2", 16, 16},
    {"FOLDER2", "folder2", 16, 16},
    {"FOLDER1", "folder1", 16, 16},
    {"MAIL1", "mail1", 16, 16},
    {"MAIL2", "mail2", 16, 16},
    {"NOTE1", "note1", 16, 16},
    {"NOTE2", "note2", 8, 24},
    {"PEN1", "pen1", 2, 29},
    {"PEN2", "pen2", 2, 29},
    {"PENCIL1", "pencil1", 2, 29},
    {"PENCIL2", "pencil2", 2, 29},
    {"PHONE1", "phone1", 8, 7},
    {"PHONE2", "phone2", 16, 16},
    {"POINT1", "point1", 13, 1},
    {"POINT2", "point2", 1, 13},
    {"SECURITY1", "security1", 16, 16},
    {"SECURITY2", "security2", 16, 16},
}};

constexpr int kBuiltInCursorSide = 32;

} // namespace vistrel
