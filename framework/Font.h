#pragma once
// Fonts made from a face name and a height, as the system's font mapper finds them.
#include <windows.h>
#include "framework/Handle.h"

// A font of the face: height as LOGFONT's lfHeight (negative: the characters' height,
// positive: the cell's), the weight and the character set; empty when the system refused it.
CFontHandle CreateFaceFont(const wchar_t* face, int height, int weight, BYTE charSet);
