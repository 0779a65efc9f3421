#pragma once

#include <cstddef>

// Room for a notification-area tooltip, terminator included.
constexpr std::size_t kTipChars = 128;

// Copies `text` into `dest` up to its terminator or up to destChars - 1
// characters, whichever comes first, and always terminates `dest`.
// A null text leaves `dest` empty. Returns the characters copied.
std::size_t CopyTipText(wchar_t* dest, std::size_t destChars, const wchar_t* text);
