#include "core/ModeProp.h"
#include "framework/Font.h"
#include "state/Registry.h"
#include "state/SettingsRegistry.h"
#include "state/SwitchSession.h"

namespace {

const wchar_t kSystemKey[] = L"SYSTEM\\GWE";

// The four sizes with their names in the settings registry and in the system, in the order
// they are read and written.
struct SizeValue {
    int32_t CModeProp::*member;
    const wchar_t* settingsName;
    const wchar_t* systemName;
};
const SizeValue kSizes[] = {
    {&CModeProp::m_nHorzScrollWidth, L"HorzScrollWidth", L"cxHScr"},
    {&CModeProp::m_nHorzScrollHeight, L"HorzScrollHeight", L"cyHScr"},
    {&CModeProp::m_nVertScrollWidth, L"VertScrollWidth", L"cxVScr"},
    {&CModeProp::m_nVertScrollHeight, L"VertScrollHeight", L"cyVScr"},
};

}  // namespace

void CMenuFont::Load(CRegistry& registry, const std::wstring& subKey)
{
    m_strFaceName = registry.ReadString(subKey.c_str(), L"Nm", L"Tahoma");
    m_nHeight = registry.ReadDWord(subKey.c_str(), L"Ht", m_nHeight);
    m_nWeight = registry.ReadDWord(subKey.c_str(), L"Wt", m_nWeight);
    m_bItalic = registry.ReadDWord(subKey.c_str(), L"It", m_bItalic ? 1 : 0) != 0;
}

void CMenuFont::Save(CRegistry& registry, const std::wstring& subKey) const
{
    registry.WriteString(subKey.c_str(), L"Nm", m_strFaceName.c_str());
    registry.WriteDWord(subKey.c_str(), L"Ht", m_nHeight);
    registry.WriteDWord(subKey.c_str(), L"Wt", m_nWeight);
    registry.WriteDWord(subKey.c_str(), L"It", m_bItalic ? 1 : 0);
}

void CMenuFont::ApplyToSystem(CRegistry& system, const std::wstring& subKey) const
{
    system.WriteString(subKey.c_str(), L"Nm", m_strFaceName.c_str());
    if (IsChooserHeight(m_nHeight))
        system.WriteDWord(subKey.c_str(), L"Ht", m_nHeight);
    system.WriteDWord(subKey.c_str(), L"Wt", m_nWeight);
    system.WriteDWord(subKey.c_str(), L"It", m_bItalic ? 1 : 0);
}

bool CMenuFont::IsChooserHeight(int32_t height)
{
    // The heights the font chooser makes of its sizes.
    const int perInch = GetScreenPixelsPerInch();
    return HeightFromPoints(kMaxPoints, perInch) <= height && height <= HeightFromPoints(1, perInch);
}

CModeProp::CModeProp(const CVideoMode& mode)
    : m_nHorzScrollWidth(20),
      m_nHorzScrollHeight(mode.m_bVGA ? 18 : 13),
      m_nVertScrollWidth(mode.m_bVGA ? 18 : 13),
      m_nVertScrollHeight(20),
      m_mode(mode)
{
}

void CModeProp::Load()
{
    CRegistry& settings = GetSettingsRegistry();
    const std::wstring group = m_mode.GetGroupName();
    m_barFont.Load(settings, group + L"\\BarFnt");
    m_popFont.Load(settings, group + L"\\PopFnt");
    for (const SizeValue& size : kSizes)
        this->*size.member = settings.ReadDWord(group.c_str(), size.settingsName, this->*size.member);
}

void CModeProp::Save()
{
    CRegistry& settings = GetSettingsRegistry();
    const std::wstring group = m_mode.GetGroupName();
    m_barFont.Save(settings, group + L"\\BarFnt");
    m_popFont.Save(settings, group + L"\\PopFnt");
    for (const SizeValue& size : kSizes)
        settings.WriteDWord(group.c_str(), size.settingsName, this->*size.member);
}

void CModeProp::ApplyToSystem(const CSwitchSession& session)
{
    CRegistry system = session.Registry(CRegistry::kLocalMachine, kSystemKey);
    for (const SizeValue& size : kSizes) {
        const int32_t value = this->*size.member;
        if (kMinScrollSize <= value && value <= kMaxScrollSize)
            system.WriteDWord(nullptr, size.systemName, value);
    }
    m_barFont.ApplyToSystem(system, L"Menu\\BarFnt");
    m_popFont.ApplyToSystem(system, L"Menu\\PopFnt");
}
