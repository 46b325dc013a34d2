#pragma once
// The device's OEM information text, which the device answers to the system-parameter query
// 258 (SPI_GETOEMINFO), e.g. "TOSHIBA e805".
//
// Desktop Win32 has no such query (258 means nothing there), so on this platform the device
// image provides the text as the REG_SZ value "OEMInfo" under HKEY_LOCAL_MACHINE "Platform".
#include <string>

namespace platform {

// The text, at most 127 characters as the device's query fills a 256-byte buffer; empty when
// the device provides none.
std::wstring GetOemInfo();

}  // namespace platform
