#include "win/DecodeText.h"

#include <windows.h>

#include <algorithm>

bool DecodeText(unsigned codePage, std::string_view bytes, bool strict, std::wstring& text)
{
    // No code page gives more UTF-16 characters than it has bytes, so one call
    // into room for that many does, and the text is cut to what it made.
    text.resize(bytes.size());
    if (bytes.empty()) return true;
    const int chars = ::MultiByteToWideChar(codePage, strict ? MB_ERR_INVALID_CHARS : 0, bytes.data(),
                                            static_cast<int>(bytes.size()), &text[0], static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(std::max(chars, 0)));
    return chars > 0;
}
