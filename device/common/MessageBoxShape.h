#pragma once
// What makes a window a message box, in whichever process looks at it: a #32770 whose direct
// children are the message text (a static with id 0xFFFF), at most one icon (an SS_ICON static)
// and push buttons with the standard answer ids (IDOK .. IDCONTINUE, hidden ones included), and
// nothing else. The About box has several texts; a sheet has its tab control and pages.
#include <windows.h>

constexpr int kMessageBoxTextId = 0xFFFF;

bool IsMessageBoxShape(HWND window);
