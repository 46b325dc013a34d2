#include "framework/Font.h"

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
