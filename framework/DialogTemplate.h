#pragma once
// Reads, or copies, what the program needs of a dialog template resource without creating
// the dialog.
#include <windows.h>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The template's caption; empty when the resource is missing, has no caption or is damaged.
std::wstring GetDialogTemplateCaption(HINSTANCE instance, UINT templateId);

// A copy of a dialog template resource (of the extended form) in which the dialog and every
// control are created with no size, for a dialog whose code sizes and places each of them
// before it is shown. Under Wine a window created with a size checks the display settings
// twice more than one created empty (three trips to the window system each), and the first
// placement costs the same either way. Positions, styles, ids and texts stay as the template
// has them; the template's own rectangles can still be asked for.
class CUnsizedDialogTemplate {
public:
    // False, with nothing kept, when the resource is missing, of the plain form or damaged.
    bool Load(HINSTANCE instance, UINT templateId);
    // The same from a template's bytes.
    bool Assign(const uint8_t* data, size_t size);
    // The copy, for CreateDialogIndirectParam; null unless loaded.
    const DLGTEMPLATE* Get() const;
    // The rectangle the template gives the control, in dialog units; false when it has none.
    bool GetItemRect(UINT id, RECT& rect) const;

private:
    std::vector<uint8_t> m_bytes;
    std::vector<std::pair<UINT, RECT>> m_items;
};
