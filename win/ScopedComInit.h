#pragma once

#include <objbase.h>

// This thread's COM apartment for one scope. Uninitialises only what it
// initialised, so an early return can never leave COM behind, nor take it
// from a caller who had it first.
class ScopedComInit {
public:
    explicit ScopedComInit(DWORD flags = COINIT_APARTMENTTHREADED) : result(::CoInitializeEx(nullptr, flags)) {}
    ~ScopedComInit()
    {
        if (SUCCEEDED(result)) ::CoUninitialize();
    }

    ScopedComInit(const ScopedComInit&) = delete;
    ScopedComInit& operator=(const ScopedComInit&) = delete;

    bool Succeeded() const { return SUCCEEDED(result); }

private:
    HRESULT result;
};
