#include "config/FolderTime.h"

#include "win/DecimalText.h"

#include <cwctype>
#include <limits>

int32_t ParseFolderTime(const std::wstring& text)
{
    size_t i = 0;
    while (i < text.size() && std::iswspace(static_cast<wint_t>(text[i]))) ++i;

    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';

    const int64_t limit =
        negative ? -static_cast<int64_t>(std::numeric_limits<int32_t>::min()) : std::numeric_limits<int32_t>::max();
    int64_t value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > limit) {
            value = limit;
            break;
        }
    }
    return static_cast<int32_t>(negative ? -value : value);
}

std::wstring FormatFolderTime(int64_t modified)
{
    const auto low = static_cast<uint32_t>(static_cast<uint64_t>(modified));
    return DecimalText(static_cast<int32_t>(low));
}

bool IsFolderChanged(const std::wstring& storedTime, int64_t modified)
{
    return static_cast<int64_t>(ParseFolderTime(storedTime)) < modified;
}
