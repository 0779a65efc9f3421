#pragma once

#include <windows.h>

// ShellExecuteW returns a value above 32 when it started something, and an error code otherwise.
inline bool ShellExecuteSucceeded(HINSTANCE result)
{
    constexpr INT_PTR kLastErrorCode = 32;
    return reinterpret_cast<INT_PTR>(result) > kLastErrorCode;
}
