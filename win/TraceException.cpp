#include "win/TraceException.h"

#include <cstdint>
#include <exception>
#include <string>

namespace {

constexpr int kClassNameChars = 64;
constexpr int kHexDigits = 8;

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

std::wstring Hex(uint32_t value)
{
    constexpr int kBitsPerDigit = 4;
    constexpr uint32_t kDigitMask = 0xF;
    constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    std::wstring text = L"0x";
    for (int shift = kHexDigits * kBitsPerDigit; shift > 0;) {
        shift -= kBitsPerDigit;
        text += kDigits[(value >> shift) & kDigitMask];
    }
    return text;
}

}  // namespace

void TraceCaughtException(HWND hwnd, UINT msg)
{
    wchar_t className[kClassNameChars] = {};
    ::GetClassNameW(hwnd, className, kClassNameChars);
    const std::wstring trace = L"Lumivane: caught \"" + DescribeCurrentException() + L"\" in window " +
                               Hex(static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(hwnd))) + L" of class \"" +
                               className + L"\" handling message " + Hex(msg) + L"\n";
    ::OutputDebugStringW(trace.c_str());
}
