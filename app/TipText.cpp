#include "app/TipText.h"

std::size_t CopyTipText(wchar_t* dest, std::size_t destChars, const wchar_t* text)
{
    if (dest == nullptr || destChars == 0) return 0;
    std::size_t copied = 0;
    if (text != nullptr) {
        while (copied + 1 < destChars && text[copied] != L'\0') {
            dest[copied] = text[copied];
            ++copied;
        }
    }
    dest[copied] = L'\0';
    return copied;
}
