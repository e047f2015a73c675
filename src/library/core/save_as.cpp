#include "library/core/save_as.h"

#include "base/canonical_path.h"
#include "base/new_file.h"
#include "base/path_names.h"
#include "library/core/list_texts.h"

#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>

namespace vistrel {

namespace {

constexpr std::array<SaveAsType, 5> kTypes{{
    {1, ".bmp", IMAGE_TYPE_BMP},
    {2, ".jpg", IMAGE_TYPE_JPG},
    {3, ".tif", IMAGE_TYPE_TIF},
    {4, ".png", IMAGE_TYPE_PNG},
    {5, ".gif", IMAGE_TYPE_GIF},
}};

bool EndsWithNoCase(std::string_view text, std::string_view end)
{
    if (text.size() < end.size())
        return false;
    const std::string_view tail = text.substr(text.size() - end.size());
    for (size_t i = 0; i < end.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(tail[i])) != std::tolower(static_cast<unsigned char>(end[i])))
            return false;
    return true;
}

std::string WhyNotRead(const std::string& source, ImageReadError error, int savedErrno)
{
    if (error == ImageReadError::CannotRead)
        return "cannot read " + source + ": " + std::strerror(savedErrno);
    return source + " is damaged or no " + std::string(ImageTypeExtension(SaveAsSourceType(source)).substr(1)) +
           " picture";
}

SaveCopyResult WriteCopy(const CImage& image, const std::string& target, cximage_type type, bool replace)
{
    if (replace) {
        errno = 0;
        if (image.Save(target.c_str(), type) != 0)
            return {SaveCopyStatus::Saved, {}};
        const int error = errno;
        return {SaveCopyStatus::CannotWrite,
                "cannot write " + target + (error != 0 ? ": " + std::string(std::strerror(error)) : "")};
    }
    bool offered = false;
    const auto onlyName = [&]() -> std::optional<std::string> {
        if (offered)
            return std::nullopt;
        offered = true;
        return target;
    };
    const NewFileResult written =
        WriteNewFile(ParentFolder(target), onlyName, [&](int fd) { return image.SaveTo(fd, type) != 0; });
    if (!written.path.empty())
        return {SaveCopyStatus::Saved, {}};
    if (written.nameTaken)
        return {SaveCopyStatus::Exists, target + " exists"};
    return {SaveCopyStatus::CannotWrite, written.error};
}

} // namespace

std::span<const SaveAsType> SaveAsTypes()
{
    return kTypes;
}

std::string_view SaveAsFilter()
{
    return "Bitmap Files(*.bmp)|*.bmp|Jpeg Files(*.jpg)|*.jpg|Tiff Files(*.tif)|*.tif|Png Files(*.png)|*.png||";
}

SaveAsType SaveAsTypeOfFilter(int filterIndex)
{
    for (const SaveAsType& t : kTypes)
        if (t.filterIndex == filterIndex)
            return t;
    return {filterIndex, "", IMAGE_TYPE_BMP};
}

std::optional<SaveAsType> SaveAsTypeOfFileName(std::string_view path)
{
    for (const SaveAsType& t : kTypes)
        if (FileNameOfPath(path).size() > t.extension.size() && EndsWithNoCase(path, t.extension))
            return t;
    return std::nullopt;
}

std::string SaveAsTargetPath(std::string_view chosenPath, int filterIndex)
{
    const std::string_view name = FileNameOfPath(chosenPath);
    const size_t dot = name.rfind('.');
    const std::string_view stem =
        dot == std::string_view::npos ? chosenPath : chosenPath.substr(0, chosenPath.size() - name.size() + dot);
    return std::string(stem) + std::string(SaveAsTypeOfFilter(filterIndex).extension);
}

int SaveAsSourceType(std::string_view path)
{
    if (EndsWithNoCase(path, "gif"))
        return IMAGE_TYPE_GIF;
    return ImageTypeFromFileName(path);
}

std::optional<CImage> ReadPicture(const std::string& path, SaveCopyResult& failure)
{
    const int type = SaveAsSourceType(path);
    if (type < 0) {
        failure = {SaveCopyStatus::NotAPicture, path + ": not a picture Vistrel reads (.bmp, .gif, .jpg, .png, .tif)"};
        return std::nullopt;
    }
    ImageReadError error = ImageReadError::None;
    CImage image = CImage::Read(path.c_str(), cximage_type(type), error);
    const int readErrno = errno;
    if (image.IsValid())
        return image;
    failure = {error == ImageReadError::CannotRead ? SaveCopyStatus::CannotRead : SaveCopyStatus::Damaged,
               WhyNotRead(path, error, readErrno)};
    return std::nullopt;
}

SaveCopyResult SavePictureCopy(const std::string& source, const std::string& target, cximage_type targetType,
                               bool replace)
{
    SaveCopyResult failure;
    const auto image = ReadPicture(source, failure);
    if (!image)
        return failure;
    return WriteCopy(*image, target, targetType, replace);
}

} // namespace vistrel
