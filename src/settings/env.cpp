#include "settings/env.h"

#include "base/atomic_file.h"
#include "base/program_folder.h"
#include "base/user_dirs.h"
#include "codec/image_type.h"
#include "settings/default_tools.h"
#include "settings/file_naming.h"
#include "settings/folders.h"
#include "settings/settings_fields.h"
#include "settings/settings_file.h"

#include <algorithm>
#include <ctime>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <utility>

namespace vistrel {

CEnv theEnv;
std::string g_strLanguageFile;
std::vector<std::string> g_languageFiles;

namespace {

// Menu texts the language files translate, in the order they are entered.
const std::pair<uint32_t, const char*> kDefaultMenuTexts[] = {
    {32858, "&Save As..."}, {57665, "E&xit"}, {32862, "&Copy"}, {32838, "Copy to Clip&board"},
    {32791, "Copy To..."}, {32803, "&Move To..."}, {32790, "Select &All"}, {32810, "&Delete"},
    {59392, "&Toolbar"}, {59393, "&Status Bar"}, {102, "&Folder Bar"}, {104, "&Preview Bar"},
    {32780, "Th&umbnails"}, {59409, "&Large Icons"}, {59408, "S&mall Icons"}, {32778, "L&ist"},
    {32779, "&Details"}, {32771, "&Full Screen"}, {32772, "&Rectangle"}, {32773, "&Circle"},
    {32774, "&Ellipse"}, {32775, "&Polygon"}, {32806, "&Object"}, {32800, "&Timer"},
    {32777, "Capture &Icons"}, {32802, "Record &AVI"}, {32811, "&Option..."}, {32861, "&Contents"},
    {57666, "&Index..."}, {32860, "&Visit Our Website"}, {57664, "&About"},
    {32863, "&Show Main Window"},
};

// A settings file is a few hundred bytes; anything past this is not one of ours,
// and reading it whole would only cost memory.
constexpr std::streamoff kMaxSettingsFileSize = 16 << 20;

std::string NameByTime(std::string_view extension)
{
    std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    return FormatTimeName(local) + std::string(extension);
}

std::string NextNumberedName(const std::string& name, const std::string& pattern,
                             std::string_view extension, int16_t& number)
{
    int16_t n = number;
    number = int16_t(uint16_t(n) + 1u);
    return FormatNumberedName(name, pattern, extension, NumberForName(n));
}

// The entry a tool list stored with a count of 0 gets: the desktop's default
// program of its kind.
ToolEntry DefaultToolFor(const SettingsField& list)
{
    return list.name == "m_bitmapTools" ? DefaultImageEditor() : DefaultVideoPlayer();
}

} // namespace

std::string LanguageFolder() { return GetProgramFolder() + "/Language"; }

CEnv::CEnv()
    : m_crBitmapBack(0x007D7D00), // RGB(0,125,125)
      m_crPreviewBack(0)
{
    for (const auto& [id, text] : kDefaultMenuTexts)
        m_mapDefaultText.emplace(id, text);
    if (InstalledUse()) {
        // Where users look for their pictures and videos.
        m_strBitmapPath = XdgUserDir("PICTURES", "Pictures") + "/Vistrel";
        m_strIconPath = m_strBitmapPath + "/Icons";
        m_strAviPath = XdgUserDir("VIDEOS", "Videos") + "/Vistrel";
    } else {
        std::string folder = GetProgramFolder();
        m_strBitmapPath = folder + "/Capture/Bitmap";
        m_strAviPath = folder + "/Capture/AVI";
        m_strIconPath = folder + "/Capture/Icon";
    }
    SetDefaultHotkeys();
}

std::string CEnv::SettingsFilePath() { return GetProgramFolder() + "/capture.cfg"; }

bool CEnv::Load(bool ensureFolders)
{
    std::string path = SettingsFilePath();
    std::ifstream in(path, std::ios::binary);
    struct stat st {};
    if (!in && stat(path.c_str(), &st) == 0) {
        // There but unreadable: the save at exit must not replace it unseen.
        m_bLoadedFileDamaged = true;
    }
    if (in) {
        in.seekg(0, std::ios::end);
        std::streamoff size = in.tellg();
        in.seekg(0);
        std::vector<uint8_t> bytes;
        if (size > 0 && size <= kMaxSettingsFileSize) {
            bytes.resize(size_t(size));
            in.read(reinterpret_cast<char*>(bytes.data()), size);
            bytes.resize(size_t(std::max<std::streamsize>(in.gcount(), 0)));
        }
        SettingsReadResult result = DeserializeSettings(bytes, *this, g_strLanguageFile);
        m_bLoadedFileDamaged = !result.complete && size > 0;
        for (const SettingsField* list : result.defaultToolWanted)
            (this->*std::get<std::vector<ToolEntry> CEnv::*>(list->member)).push_back(DefaultToolFor(*list));
        // The user's own folders are made when something is first saved there.
        if (ensureFolders && !InstalledUse()) {
            EnsureFolder(m_strBitmapPath);
            EnsureFolder(m_strAviPath);
            EnsureFolder(m_strIconPath);
        }
    }
    return true;
}

bool CEnv::Save(LinkFunction linkFile)
{
    std::string path = SettingsFilePath();
    // What could not be read is kept beside the file that replaces it, under a
    // name of its own; if it cannot be kept, it is not replaced either.
    if (m_bLoadedFileDamaged && !KeepUnderNewName(path, path + ".damaged", linkFile))
        return false;
    bool ok = WriteFileAtomically(path, SerializeSettings(*this, g_strLanguageFile));
    if (ok)
        m_bLoadedFileDamaged = false;
    return ok;
}

void CEnv::SetDefaultHotkeys()
{
    m_hkFullScreen = {0, 0x2C};
    m_hkRectangle = {MOD_CONTROL, 0x70};
    m_hkCircle = {MOD_CONTROL, 0x71};
    m_hkEllipse = {MOD_CONTROL, 0x72};
    m_hkPolygon = {MOD_CONTROL, 0x73};
    m_hkObject = {MOD_CONTROL, 0x74};
    m_hkAvi = {MOD_CONTROL, 0x75};
    m_hkTimer = {MOD_CONTROL | MOD_SHIFT, 0x54};
}

std::array<std::pair<int, HotkeySetting CEnv::*>, 8> CEnv::HotkeyFields()
{
    return {{
        {HOTKEY_FULLSCREEN, &CEnv::m_hkFullScreen}, {HOTKEY_RECTANGLE, &CEnv::m_hkRectangle},
        {HOTKEY_CIRCLE, &CEnv::m_hkCircle},         {HOTKEY_ELLIPSE, &CEnv::m_hkEllipse},
        {HOTKEY_POLYGON, &CEnv::m_hkPolygon},       {HOTKEY_OBJECT, &CEnv::m_hkObject},
        {HOTKEY_AVI, &CEnv::m_hkAvi},               {HOTKEY_TIMER, &CEnv::m_hkTimer},
    }};
}

HotkeySetting CEnv::Hotkey(int id) const
{
    for (const auto& [fieldId, field] : HotkeyFields())
        if (fieldId == id)
            return this->*field;
    return {};
}

void CEnv::RegisterHotkeys(bool exceptAvi)
{
    if (!m_registrar)
        return;
    for (const auto& [id, field] : HotkeyFields())
        if (!(exceptAvi && id == HOTKEY_AVI))
            m_registrar->Register(id, this->*field);
}

void CEnv::UnregisterHotkeys(bool exceptAvi)
{
    if (!m_registrar)
        return;
    for (const auto& [id, field] : HotkeyFields())
        if (!(exceptAvi && id == HOTKEY_AVI))
            m_registrar->Unregister(id);
}

std::vector<int> CEnv::TakenHotkeys() const
{
    return m_registrar ? m_registrar->TakenIds() : std::vector<int>{};
}

std::string CEnv::GetImageFileName(int imageType)
{
    std::string_view extension = ImageTypeExtension(imageType);
    std::string name = m_bBitmapNameByTime
                           ? NameByTime(extension)
                           : NextNumberedName(m_strBitmapName, m_strBitmapSuffix, extension, m_nBitmapNumber);
    return m_strBitmapPath + "/" + name;
}

std::string CEnv::GetAviFileName()
{
    std::string name = m_bAviNameByTime ? NameByTime(".avi")
                                        : NextNumberedName(m_strAviName, m_strAviSuffix, ".avi", m_nAviNumber);
    return m_strAviPath + "/" + name;
}

std::string CEnv::GetDefaultAviPlayer() const
{
    for (const auto& tool : m_aviTools)
        if (tool.isDefault)
            return tool.command;
    return {};
}

} // namespace vistrel
