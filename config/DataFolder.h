#pragma once

#include "win/PathChars.h"

#include <cstddef>
#include <string>

// Writes "<per-user application data>\Lumivane" into buffer. False, writing
// nothing, when buffer is null or capacity is below kPathChars. Never creates
// the Lumivane folder itself.
bool GetDataFolderPath(wchar_t* buffer, size_t capacity);

// The data folder joined with a file name; empty when the data folder is
// unknown, so no caller ever falls back to a path relative to somewhere else.
std::wstring GetDataFilePath(const wchar_t* name);

// The two files that live in the data folder.
constexpr wchar_t kConfigFileName[] = L"lumi.ini";
constexpr wchar_t kListFileName[] = L"wallpaper.txt";
