#pragma once
// Reads what the program needs of a dialog template resource without creating the dialog.
#include <windows.h>
#include <string>

// The template's caption; empty when the resource is missing, has no caption or is damaged.
std::wstring GetDialogTemplateCaption(HINSTANCE instance, UINT templateId);
