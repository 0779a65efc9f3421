#pragma once

#include <cstdint>
#include <string>

// A folder's `time` text holds the low 32 bits of its modification time, in
// seconds since 1970, as signed decimal. These helpers keep that rule in one
// place for the start-up change test and for every rescan.

// Reads the text as the C runtime's _wtoi does: optional white space and
// sign, then leading digits; anything else reads as 0. Out-of-range values
// saturate instead of overflowing.
int32_t ParseFolderTime(const std::wstring& text);

// "%d" of the low 32 bits of the modification time.
std::wstring FormatFolderTime(int64_t modified);

// True when the folder was modified after the stored time.
bool IsFolderChanged(const std::wstring& storedTime, int64_t modified);
