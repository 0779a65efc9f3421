#include "about/HyperLinkRules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cwchar>
#include <optional>
#include <string>

namespace {

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b)
{
    return r | (g << 8) | (b << 16);
}

std::string Describe(const std::optional<uint32_t>& color)
{
    return color ? "0x" + std::to_string(*color) : std::string("refused");
}

}  // namespace

TEST(ParseAnchorColor, ReadsRedGreenBlueAsLowBytes)
{
    struct Case {
        const wchar_t* text;
        uint32_t color;
    } const cases[] = {
        {L"0,128,0", Rgb(0, 128, 0)},
        {L"0,0,255", Rgb(0, 0, 255)},
        {L"255,255,255", Rgb(255, 255, 255)},
        {L"300,0,0", Rgb(44, 0, 0)},  // only the low 8 bits count
        {L"0,0,-1", Rgb(0, 0, 255)},  // -1 is refused only in the first two parts
        {L"-2,0,0", Rgb(254, 0, 0)},
        {L" 12, 34 ,56", Rgb(12, 34, 56)},  // leading blanks, trailing junk after the digits
        {L"1x,2y,3z", Rgb(1, 2, 3)},
        {L",,5", Rgb(0, 0, 5)},  // empty parts read as 0
        {L"1,2,3,4", Rgb(1, 2, 3)},
        {L"99999999999,0,0", Rgb(255, 0, 0)},  // held to 32 bits, not overflowed
    };
    for (const Case& c : cases) {
        const std::optional<uint32_t> color = ParseAnchorColor(c.text);
        ASSERT_TRUE(color.has_value()) << "text \"" << std::string(c.text, c.text + wcslen(c.text)) << "\"";
        EXPECT_EQ(c.color, *color) << "text \"" << std::string(c.text, c.text + wcslen(c.text)) << "\"";
    }
}

TEST(ParseAnchorColor, RefusesMalformedValues)
{
    const wchar_t* const refused[] = {
        L"",
        L"0,128",   // one comma
        L"0,128,",  // nothing after the second comma
        L"0",
        L"-1,0,0",  // first part -1
        L"0,-1,0",  // second part -1
        L" -1,5,5",
    };
    for (const wchar_t* text : refused) {
        const std::optional<uint32_t> color = ParseAnchorColor(text);
        EXPECT_FALSE(color.has_value()) << "text \"" << std::string(text, text + wcslen(text)) << "\" gave "
                                        << Describe(color);
    }
}

TEST(CombineExtendedStyle, ChangesOnlyTheMaskedBits)
{
    struct Case {
        uint32_t previous, style, mask, expected;
    } const cases[] = {
        {0, kLinkUnderlineHover, kLinkUnderlineHover, kLinkUnderlineHover},
        {kLinkNotUnderlined, kLinkUnderlineHover, kLinkUnderlineHover, kLinkNotUnderlined | kLinkUnderlineHover},
        {kLinkNotUnderlined | kLinkUnderlineHover, 0, kLinkNotUnderlined, kLinkUnderlineHover},
        {kLinkNotUnderlined, kLinkUnderlineHover, kLinkNotUnderlined, 0},  // style bits outside the mask are dropped
        {kLinkNotUnderlined | kLinkUnderlineHover, kLinkUnderlineHover, 0, kLinkUnderlineHover},  // mask 0: all bits
        {0xF0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, CombineExtendedStyle(c.previous, c.style, c.mask))
            << "previous " << c.previous << " style " << c.style << " mask " << c.mask;
    }
}
