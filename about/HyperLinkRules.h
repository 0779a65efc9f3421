#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Rules of the hyperlink control that need no window: its style bits and the
// reading of the browser's link colours.

// Extended-style bits of a link.
constexpr uint32_t kLinkNotUnderlined = 1;   // the link font has no underline
constexpr uint32_t kLinkUnderlineHover = 2;  // the link font is used only while hovering

// New extended style after SetExtendedStyle(style, mask): only the bits of
// the mask change, and a mask of 0 means "all bits".
uint32_t CombineExtendedStyle(uint32_t previous, uint32_t style, uint32_t mask);

// Reads a browser colour value such as "0,128,0" (red, green, blue). Each
// part is a leading decimal number of which only the low 8 bits count. The
// value is refused (nullopt) with fewer than two commas, with nothing after
// the second comma, or when the first or second part reads as -1. The result
// has the COLORREF layout 0x00BBGGRR.
std::optional<uint32_t> ParseAnchorColor(std::wstring_view text);
