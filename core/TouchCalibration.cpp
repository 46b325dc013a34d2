#include "core/TouchCalibration.h"
#include <array>
#include <cstdint>
#include "framework/WholeNumber.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"
#include "state/Registry.h"
#include "state/SettingsRegistry.h"
#include "state/SwitchSession.h"
#include "state/VideoMode.h"

namespace {

// Sub-key of the settings registry holding one copy per mode name.
const wchar_t kSavedCalibrationKey[] = L"CalibrationData";

struct Point {
    long x;
    long y;
};
using Points = std::array<Point, 5>;

std::wstring ReadLive(const CSwitchSession& session)
{
    return session.Registry(CRegistry::kLocalMachine, kTouchKey).ReadString(nullptr, kTouchCalibrationValue, L"");
}

[[noreturn]] void ThrowCannotRotate()
{
    throw CVideoModeException(LoadResourceString(IDS_CANNOT_ROTATE_CALIBRATION));
}

// Leading blanks, an optional sign and decimal digits, held to the 32 bits of a long; no
// digits read as 0.
long LeadingInteger(const std::wstring& text)
{
    long long number = 0;
    ParseWholeNumber(text, INT32_MIN, INT32_MAX, number, wholeNumberLeading | wholeNumberClamped);
    return static_cast<long>(number);
}

// Five points "x,y", each ended by a space. One space is appended first and every pair of
// spaces (scanned left to right, without overlap) counts as one, so a missing final space or
// a double space between points is accepted; a wider gap is not. Anything after the fifth
// point is dropped.
Points Parse(const std::wstring& live)
{
    const std::wstring spaced = live + L' ';
    std::wstring text;
    text.reserve(spaced.size());
    for (size_t i = 0; i < spaced.size(); ++i) {
        text += spaced[i];
        if (spaced[i] == L' ' && i + 1 < spaced.size() && spaced[i + 1] == L' ')
            ++i;
    }
    Points points{};
    size_t position = 0;
    for (Point& point : points) {
        const size_t space = text.find(L' ', position);
        if (space == std::wstring::npos)
            ThrowCannotRotate();
        const std::wstring token = text.substr(position, space - position);
        const size_t comma = token.find(L',');
        if (comma == std::wstring::npos)
            ThrowCannotRotate();
        point.x = LeadingInteger(token.substr(0, comma));
        point.y = LeadingInteger(token.substr(comma + 1));
        position = space + 1;
    }
    return points;
}

}  // namespace

std::wstring CTouchCalibration::Rotated(const CSwitchSession& session, int from, int to)
{
    const std::wstring live = ReadLive(session);
    if (live.empty())
        throw CVideoModeException(LoadResourceString(IDS_CANNOT_READ_CALIBRATION));
    Points points = Parse(live);
    // The first point is the centre and never moves; the other four turn with the screen,
    // one step forward per quarter turn.
    const int steps = ((to - from) % 4 + 4) % 4;
    for (int i = 0; i < steps; ++i) {
        const Point last = points[4];
        points[4] = points[3];
        points[3] = points[2];
        points[2] = points[1];
        points[1] = last;
    }
    std::wstring text;
    for (const Point& point : points)
        text += std::to_wstring(point.x) + L',' + std::to_wstring(point.y) + L' ';
    return text;
}

void CTouchCalibration::WriteLive(const CSwitchSession& session, const std::wstring& text)
{
    session.Registry(CRegistry::kLocalMachine, kTouchKey).WriteString(nullptr, kTouchCalibrationValue, text.c_str());
}

void CTouchCalibration::Rotate(const CSwitchSession& session, int from, int to)
{
    if (from == to)
        return;
    WriteLive(session, Rotated(session, from, to));
}

void CTouchCalibration::Save(const CSwitchSession& session, const CVideoMode& mode)
{
    const std::wstring name = mode.GetModeName();
    session.SettingsRegistry().WriteString(kSavedCalibrationKey, name.c_str(), ReadLive(session).c_str());
}

void CTouchCalibration::Restore(const CSwitchSession& session, const CVideoMode& mode)
{
    const std::wstring name = mode.GetModeName();
    const std::wstring saved = session.SettingsRegistry().ReadString(kSavedCalibrationKey, name.c_str(), L"");
    if (!saved.empty())
        WriteLive(session, saved);
}
