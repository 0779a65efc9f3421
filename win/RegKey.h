#pragma once

#include "win/UniqueHandle.h"

#include <windows.h>

// A key under HKEY_CURRENT_USER, opened with just the rights asked for; an
// invalid owner when it is missing or refused.
UniqueRegKey OpenUserKey(const wchar_t* subKey, REGSAM access);

// The same, made first when it is missing.
UniqueRegKey CreateUserKey(const wchar_t* subKey, REGSAM access);
