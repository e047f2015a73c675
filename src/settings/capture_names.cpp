#include "settings/capture_names.h"

#include "codec/image_type.h"
#include "settings/env.h"
#include "settings/folders.h"

namespace vistrel {

CaptureNames::CaptureNames(CEnv& env, Kind kind, int imageType)
    : m_env(&env), m_kind(kind), m_imageType(imageType)
{
    const bool image = kind == Kind::Image;
    m_byTime = (image ? env.m_bBitmapNameByTime : env.m_bAviNameByTime) != 0;
    m_folder = image ? env.m_strBitmapPath : env.m_strAviPath;
    m_extension = image ? std::string(ImageTypeExtension(imageType)) : ".avi";
}

CaptureNames CaptureNames::ForImage(CEnv& env, int imageType) { return CaptureNames(env, Kind::Image, imageType); }

CaptureNames CaptureNames::ForAvi(CEnv& env) { return CaptureNames(env, Kind::Avi, 0); }

std::string CaptureNames::Fresh()
{
    return m_kind == Kind::Image ? m_env->GetImageFileName(m_imageType) : m_env->GetAviFileName();
}

std::optional<std::string> CaptureNames::Next()
{
    const uint32_t limit = m_byTime ? kTimeNameCandidates : kNumberedNameCandidates;
    if (m_tried >= limit)
        return std::nullopt;
    const uint32_t index = m_tried++;
    if (!m_byTime)
        return Fresh();
    if (index == 0) {
        std::string path = Fresh();
        m_timeStem = path.substr(0, path.size() - m_extension.size());
        return path;
    }
    return SuffixedName(m_timeStem, m_extension, index);
}

int16_t& CaptureNames::Number()
{
    return m_kind == Kind::Image ? m_env->m_nBitmapNumber : m_env->m_nAviNumber;
}

bool CaptureNames::CreateFile(const Create& create)
{
    const int16_t numberBefore = Number();
    EnsureFolder(m_folder);
    create(m_folder, [this] { return Next(); });
    return Number() == numberBefore || m_env->Save();
}

} // namespace vistrel
