#pragma once
// Path and file-system helpers shared by the whole program. Paths are device paths with
// backslash separators; a folder path may or may not end with a backslash, and each function
// says which it produces. None raises, except ExtractResource as stated.
#include <windows.h>
#include <string>
#include <vector>
// The string-table helpers, which much of the program reaches through this header.
#include "framework/ResourceString.h"

bool FindFile(const std::wstring& path, WIN32_FIND_DATAW& data);
bool Exists(const std::wstring& path);
bool IsDirectory(const std::wstring& path);

// Copies a file as CopyFileW does: the destination created or overwritten, with the source's
// attributes and time of last change; false on failure, a partial destination left behind.
// With newOnly, a destination that exists already is refused and left as it is.
bool CopyOneFile(const std::wstring& source, const std::wstring& destination, bool newOnly = false);
// Copies the folder tree source to destination, which must not exist yet. Stops at the first
// failure (what was copied stays) and returns false; true also for an empty source.
bool CopyTree(const std::wstring& source, const std::wstring& destination);
// Deletes the folder and everything below it. Goes on past failures; true when everything,
// the folder included, was deleted.
bool DeleteTree(const std::wstring& folder);
// Creates every missing folder on the path; true when the whole path exists afterwards.
bool CreatePath(const std::wstring& path);
// Reserves a unique "drx" file name in the folder (the temporary folder when empty) by
// creating it empty; callers delete that file before they use the name. Empty on failure.
std::wstring MakeTempName(const std::wstring& folder = std::wstring());
// A name "drxNNNN.tmp" in the folder (the temporary folder when empty) under which nothing
// exists. Nothing is created, which makes it far cheaper than MakeTempName: the name stays
// free only while nobody else takes it, which in this single-threaded program is until its
// caller uses it. Empty when none is found.
std::wstring FindFreeTempName(const std::wstring& folder = std::wstring());
// Appends the names matching folder\pattern in enumeration order, prefixed by the folder
// (with its backslash) when withFolder is set. Matching folders are listed too.
void FindFiles(const std::wstring& folder, const std::wstring& pattern, bool withFolder,
               std::vector<std::wstring>& list);

// Field index (from 0) of text split at separator; empty past the last field.
std::wstring GetToken(const std::wstring& text, const std::wstring& separator, size_t index);
// Every occurrence of what replaced by with, left to right; replaced text is not searched again.
std::wstring ReplaceAll(std::wstring text, const std::wstring& what, const std::wstring& with);
// The path up to and including its last backslash; empty when it has none.
std::wstring FolderOf(const std::wstring& path);
std::wstring AddBackslash(const std::wstring& path);
// Removes one trailing backslash, if there is one.
std::wstring RemoveBackslash(const std::wstring& path);
// The running program's file as a device path; empty when the system cannot tell.
std::wstring GetProgramPath();
// The running program's folder as a device path, with its trailing backslash.
std::wstring GetProgramFolder();

// Writes the resource's bytes to target (created or truncated). False when the resource is
// missing or empty; CFileException when the target cannot be written.
bool ExtractResource(HMODULE module, UINT id, const wchar_t* type, const std::wstring& target);

// Dispatches every pending window message of the thread, then returns.
void PumpMessages();
