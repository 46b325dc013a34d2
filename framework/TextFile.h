#pragma once
// Unicode text files as the device's programs read them: UTF-16LE behind a byte-order mark,
// each line ended by CR LF.
#include <string>
#include <vector>

// Replaces the file at path by the lines, each of which should hold no line break of its own.
// Raises CFileException with the system's code when the file cannot be created or written;
// a file left half written is deleted.
void WriteTextFile(const std::wstring& path, const std::vector<std::wstring>& lines);
