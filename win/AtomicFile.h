#pragma once

#include <cstddef>
#include <string>

// Small files that are read at once and replaced in one step.

// Reads the whole file. A missing file reads as no bytes; false when the file
// cannot be opened or read, or holds more than maxBytes.
bool ReadFileBytes(const wchar_t* fileName, size_t maxBytes, std::string& bytes);

// Writes the bytes to a new file beside fileName and moves it into fileName's
// place once every byte is on the disk, so a crash or a full disk leaves the
// old file or the new one, never a part. False, with the old file intact and
// nothing left beside it, on any failure.
bool ReplaceFileBytes(const wchar_t* fileName, const std::string& bytes);
