#pragma once
// The device's OEM information text, which the system answers to the system-parameter query
// SPI_GETOEMINFO, e.g. "TOSHIBA e805".
#include <string>

namespace platform {

// The text, at most 127 characters as the query fills a 256-byte buffer; empty when the
// device gives none.
std::wstring GetOemInfo();

}  // namespace platform
