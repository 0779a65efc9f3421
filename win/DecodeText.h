#pragma once

#include <string>
#include <string_view>

// The mark that begins a UTF-8 file; both stored files accept it.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The bytes, in the code page, as UTF-16 text. Bytes the code page cannot
// convert make it fail when `strict` is set, and otherwise become the
// replacement characters the platform's own readers make of them.
bool DecodeText(unsigned codePage, std::string_view bytes, bool strict, std::wstring& text);
