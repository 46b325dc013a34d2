#pragma once
// The touch calibration per video mode: the touch driver keeps five points as text under
// HKEY_LOCAL_MACHINE "HARDWARE\DEVICEMAP\TOUCH" "CalibrationData"; rotating the screen re-orders
// the last four as a ring, and each mode can keep its own copy. What is read and written goes
// through the switch session.
#include <string>

class CSwitchSession;
class CVideoMode;

inline constexpr wchar_t kTouchKey[] = L"HARDWARE\\DEVICEMAP\\TOUCH";
inline constexpr wchar_t kTouchCalibrationValue[] = L"CalibrationData";

class CTouchCalibration {
public:
    // Re-orders the live calibration's ring of four points from one orientation to another;
    // nothing is read when they are equal. "Cannot read CalibrationData" when the live value
    // is empty or missing, "Cannot rotate touchscreen data" when it does not hold five points;
    // the live value is unchanged then.
    static void Rotate(const CSwitchSession& session, int from, int to);
    // The live calibration re-ordered from one orientation to another, as the text to write;
    // raises the errors of Rotate.
    static std::wstring Rotated(const CSwitchSession& session, int from, int to);
    static void WriteLive(const CSwitchSession& session, const std::wstring& text);
    // Copies the live calibration text, even an empty one, into the mode's saved copy.
    static void Save(const CSwitchSession& session, const CVideoMode& mode);
    // Puts the mode's saved copy in place of the live calibration, if there is a copy.
    static void Restore(const CSwitchSession& session, const CVideoMode& mode);
};
