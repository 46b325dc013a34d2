#pragma once
// Fonts made from a face name and a height, as the system's font mapper finds them, and sizes
// in points as font heights.
#include <windows.h>
#include <cstdint>
#include "framework/Handle.h"

// A font of the face: height as LOGFONT's lfHeight (negative: the characters' height,
// positive: the cell's), the weight and the character set; empty when the system refused it.
CFontHandle CreateFaceFont(const wchar_t* face, int height, int weight, BYTE charSet);

// Sizes in points against font heights at a screen's pixels per inch, 72 points to the inch.
// A size in points is the character height -round(points x perInch / 72), a half rounded
// away from zero; perInch must be positive.
int HeightFromPoints(int points, int perInch);
// The size in points a height shows: a character height (negative) gives
// round(-height x 72 / perInch), rounded up from a remainder of perInch / 2 (whole part); a cell
// height (positive) gives a negative size, truncated toward zero.
int64_t PointsFromHeight(int height, int perInch);
// The screen's pixels per inch vertically; 96 when the screen does not tell.
int GetScreenPixelsPerInch();
