#pragma once

// An ASCII capital as its small letter, every other character as it is: the
// profile reader and the picture filter fold names so, whatever the locale.
inline wchar_t AsciiLower(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}
