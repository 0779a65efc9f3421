#include "win/CWindow.h"

namespace {

// Window classes are named in at most this many characters, terminator included.
constexpr int kClassNameChars = 256;

}  // namespace

std::wstring CWindow::GetText() const
{
    const int length = ::GetWindowTextLengthW(hwnd);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(hwnd, &text[0], length + 1)));
    return text;
}

std::wstring CWindow::GetWindowClass() const
{
    wchar_t name[kClassNameChars] = {};
    const int length = ::GetClassNameW(hwnd, name, kClassNameChars);
    return std::wstring(name, length > 0 ? static_cast<size_t>(length) : 0);
}
