#pragma once
// Save As: the file types the dialog offers, the name a chosen filter gives the
// file, and the copy itself (also the command line's --convert). The rules are
// plain text work; SavePictureCopy reads and writes files and may run on any
// thread.

#include "codec/image.h"
#include "codec/image_type.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vistrel {

struct SaveAsType {
    int filterIndex;            // 1-based, as file dialogs count their filters
    std::string_view extension; // with its dot
    cximage_type type;
};

// The types in filter order: bmp, jpg, tif, png as offered, then gif, which
// the dialog does not offer but a filter index of 5 still means.
std::span<const SaveAsType> SaveAsTypes();

// "Bitmap Files(*.bmp)|*.bmp|Jpeg Files(*.jpg)|*.jpg|Tiff Files(*.tif)|*.tif|Png Files(*.png)|*.png||"
std::string_view SaveAsFilter();

// The type of a filter index; an index outside the table adds no extension and
// writes a BMP.
SaveAsType SaveAsTypeOfFilter(int filterIndex);

// The type a file name's extension names (case ignored): one of the table, or
// nullopt.
std::optional<SaveAsType> SaveAsTypeOfFileName(std::string_view path);

// The chosen path with its extension (from the last dot of the file name on)
// replaced by the filter's: "shot.png" with the Jpeg filter gives "shot.jpg",
// "shot" gives "shot.jpg". Dots in folder names are not extensions.
std::string SaveAsTargetPath(std::string_view chosenPath, int filterIndex);

// The decoder for a file Save As copies from: the type its last three
// characters name, the preview's bmp, jpg, tif and png and also gif, since
// the codec reads GIF captures as well; -1 for files it cannot read.
int SaveAsSourceType(std::string_view path);

enum class SaveCopyStatus {
    Saved,
    NotAPicture, // a name whose type is not read: nothing was opened
    CannotRead, // missing or unreadable
    Damaged,    // read, but not a picture of its type
    Exists,     // the target exists and replacing was not allowed
    CannotWrite,
};

struct SaveCopyResult {
    SaveCopyStatus status = SaveCopyStatus::CannotRead;
    std::string error; // a sentence for the user, empty when saved
};

// Reads a picture by SaveAsSourceType: nullopt with failure's status
// (NotAPicture, CannotRead or Damaged) and sentence when it holds nothing.
std::optional<CImage> ReadPicture(const std::string& path, SaveCopyResult& failure);

// Decodes source by SaveAsSourceType and writes it to target as targetType.
// The target appears whole or not at all: without replace a target that exists
// is left alone (Exists); with replace it is replaced in one step.
SaveCopyResult SavePictureCopy(const std::string& source, const std::string& target, cximage_type targetType,
                               bool replace);

} // namespace vistrel
