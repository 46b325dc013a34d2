#pragma once
// A settings sheet built as the device's programs build theirs, so that the driving commands
// can be tried on one without the program: a modal #32770 titled "Stand-in Sheet" with a tab
// control (id 12320; tabs "Edits", "List", "Tree"), one child #32770 page per tab, created when
// first shown, only the active one visible, ids repeating across pages, and the command bar's
// buttons 32790 (OK) and 32791 (Cancel).
//
//   "Edits": edit 1000, multi-line edit 1001, combo box 1005 (drop-down), label 1002
//            "Changes A B C", counting EN_CHANGE of 1000 and 1001 and CBN_EDITCHANGE of 1005,
//            and a plain text with id 0xFFFF, as a message box's text has
//   "List":  edit 1000, list view 1003 with check boxes: "alpha" "1", "beta" "2" (checked), "gamma" "3"
//   "Tree":  tree view 1004 with check boxes: "root" (expanded) with "first" (checked) and "second"
#include <windows.h>

// Shows the sheet; IDOK after 32790, IDCANCEL after 32791 or closing.
INT_PTR ShowStandInSheet(HWND owner);
