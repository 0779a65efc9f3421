#include "win/DecimalText.h"

namespace {

constexpr int kMaxDigits = 20;
constexpr int64_t kBase = 10;

}  // namespace

std::wstring DecimalText(int64_t value)
{
    wchar_t digits[kMaxDigits] = {};
    int count = 0;
    // Digits are taken from the negative side, which holds the smallest value too.
    int64_t rest = value < 0 ? value : -value;
    do {
        digits[count++] = static_cast<wchar_t>(L'0' - rest % kBase);
        rest /= kBase;
    } while (rest != 0);

    std::wstring text;
    text.reserve(count + 1);
    if (value < 0) text += L'-';
    while (count > 0) text += digits[--count];
    return text;
}
