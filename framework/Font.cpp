#include "framework/Font.h"

namespace {

constexpr int kPointsPerInch = 72;

// round(a x b / c): the quotient truncated toward zero, plus one when the remainder is at
// least half of c; a negative product is never rounded up. Computed in 64 bits.
int64_t MulDivRound(int64_t a, int64_t b, int64_t c)
{
    const int64_t product = a * b;
    const int64_t quotient = product / c;
    return product % c >= c / 2 ? quotient + 1 : quotient;
}

}  // namespace

CFontHandle CreateFaceFont(const wchar_t* face, int height, int weight, BYTE charSet)
{
    LOGFONTW font{};
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfCharSet = charSet;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = FF_SWISS;
    for (size_t i = 0; i + 1 < LF_FACESIZE && face[i]; ++i)
        font.lfFaceName[i] = face[i];
    return CFontHandle(::CreateFontIndirectW(&font));
}

int HeightFromPoints(int points, int perInch)
{
    return static_cast<int>(-MulDivRound(points, perInch, kPointsPerInch));
}

int64_t PointsFromHeight(int height, int perInch)
{
    return MulDivRound(-kPointsPerInch, height, perInch);
}

int GetScreenPixelsPerInch()
{
    HDC screen = ::GetDC(nullptr);
    const int perInch = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ::ReleaseDC(nullptr, screen);
    return perInch > 0 ? perInch : 96;
}
