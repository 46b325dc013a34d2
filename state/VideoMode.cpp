#include "state/VideoMode.h"

std::wstring CVideoMode::GetResolutionName() const
{
    return m_bVGA ? L"VGA" : L"QVGA";
}

std::wstring CVideoMode::GetGroupName() const
{
    return GetResolutionName() + L"." + (IsLandscape() ? L"landscape" : L"portrait");
}

std::wstring CVideoMode::GetModeName() const
{
    return GetResolutionName() + L"." + std::to_wstring(m_nOrientation);
}

bool CVideoMode::NextFallback()
{
    if (m_nOrientation != 0) {
        m_nOrientation = static_cast<int16_t>(m_nOrientation - 2 < 0 ? 0 : m_nOrientation - 2);
        return true;
    }
    if (m_bVGA) {
        m_bVGA = false;
        return true;
    }
    return false;
}

std::wstring CVideoMode::FormatDwordText(int number)
{
    return L"dword:" + std::to_wstring(number);
}
