#include "about/HyperLinkRules.h"

#include <cstdint>
#include <cwchar>
#include <limits>
#include <string>

namespace {

constexpr wchar_t kPartSeparator = L',';
constexpr uint32_t kComponentMask = 0xFF;
constexpr int kGreenShift = 8;
constexpr int kBlueShift = 16;
constexpr int32_t kRefusedPart = -1;

// The leading decimal number of the text, as the C runtime's wide atoi reads
// it (white space, sign, digits; 0 when there are none), held to 32 bits
// instead of overflowing.
int32_t LeadingNumber(std::wstring_view text)
{
    const std::wstring copy(text);
    const long long value = std::wcstoll(copy.c_str(), nullptr, 10);
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

uint32_t LowByte(int32_t value)
{
    return static_cast<uint32_t>(value) & kComponentMask;
}

}  // namespace

uint32_t CombineExtendedStyle(uint32_t previous, uint32_t style, uint32_t mask)
{
    if (mask == 0) return style;
    return (previous & ~mask) | (style & mask);
}

std::optional<uint32_t> ParseAnchorColor(std::wstring_view text)
{
    const size_t firstComma = text.find(kPartSeparator);
    if (firstComma == std::wstring_view::npos) return std::nullopt;
    const size_t secondComma = text.find(kPartSeparator, firstComma + 1);
    if (secondComma == std::wstring_view::npos || secondComma + 1 == text.size()) return std::nullopt;

    const int32_t red = LeadingNumber(text.substr(0, firstComma));
    const int32_t green = LeadingNumber(text.substr(firstComma + 1, secondComma - firstComma - 1));
    const int32_t blue = LeadingNumber(text.substr(secondComma + 1));
    if (red == kRefusedPart || green == kRefusedPart) return std::nullopt;

    return LowByte(red) | (LowByte(green) << kGreenShift) | (LowByte(blue) << kBlueShift);
}
