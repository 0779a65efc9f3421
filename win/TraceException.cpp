#include "win/TraceException.h"

#include <cwchar>
#include <exception>
#include <string>

namespace {

constexpr int kClassNameChars = 64;
constexpr int kHexChars = 20;

// The exception being handled, named as well as it can be.
std::wstring DescribeCurrentException()
{
    try {
        throw;
    } catch (const std::exception& e) {
        // what() is narrow text of unknown code page; ASCII is what it holds in practice.
        const std::string what = e.what();
        return std::wstring(what.begin(), what.end());
    } catch (...) {
        return L"an exception of unknown type";
    }
}

std::wstring Hex(unsigned long long value)
{
    wchar_t text[kHexChars] = {};
    std::swprintf(text, kHexChars, L"0x%llX", value);
    return text;
}

}  // namespace

void TraceCaughtException(HWND hwnd, UINT msg)
{
    wchar_t className[kClassNameChars] = {};
    ::GetClassNameW(hwnd, className, kClassNameChars);
    const std::wstring trace = L"Lumivane: caught \"" + DescribeCurrentException() + L"\" in window " +
                               Hex(reinterpret_cast<UINT_PTR>(hwnd)) + L" of class \"" + className +
                               L"\" handling message " + Hex(msg) + L"\n";
    ::OutputDebugStringW(trace.c_str());
}
