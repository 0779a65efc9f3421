#pragma once

#include <string>
#include <vector>

// "wallpaper.txt": one picture path per line, CR LF after each, in the ANSI
// code page of the user's default locale without a byte-order mark. When some
// path cannot be written in that code page the whole file is UTF-8 with a BOM
// instead, so no picture is lost; reading accepts both.

// Replaces `pictures` with the file's lines, leaving out lines that hold a
// NUL; false, leaving them untouched, when the file cannot be opened or read.
bool ReadPictureList(const wchar_t* fileName, std::vector<std::wstring>& pictures);

// Writes the list beside the file and puts it in the file's place only when
// every byte was written; false, with the old file intact, on any failure,
// a name with no form in any encoding and a list too long to read back included.
bool WritePictureList(const wchar_t* fileName, const std::vector<std::wstring>& pictures);

// The ANSI code page of the user's default locale.
unsigned ListFileCodePage();
