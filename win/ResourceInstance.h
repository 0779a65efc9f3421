#pragma once

#include <windows.h>

#include <string>

// The module every resource (string, menu, icon, dialog) is loaded from.
// The process entry sets it; until then it is the executable itself, which is
// also right for the test programs that link the same resource script.
HINSTANCE GetResourceInstance();
void SetResourceInstance(HINSTANCE instance);

// A string-table entry as a wide string; empty when the id is missing.
std::wstring LoadResString(UINT id);
