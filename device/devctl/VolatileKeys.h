#pragma once
// Carries registry keys that live only as long as the device's session (HKLM\HARDWARE is
// volatile) across its restarts, through a text file the device host keeps:
//   key<TAB>HKLM\HARDWARE\DEVICEMAP\TOUCH
//   value<TAB><name><TAB><type, decimal><TAB><data as hex bytes>
// Text is UTF-8; the file ends with a line feed.
#include <string>
#include <vector>

// Writes the values of the keys (HKLM\... or HKCU\...) to the file; a key that is missing is
// written with no values. False with a message when the file cannot be written.
bool SaveKeys(const std::wstring& file, const std::vector<std::wstring>& keys, std::wstring& message);

// Creates every key of the file volatile (with any missing parents) and sets its values.
// False with a message at the first line or call that fails.
bool LoadKeysVolatile(const std::wstring& file, std::wstring& message);
