#pragma once

#include <string>

// The parameter text that starts explorer.exe with a picture selected.
// Explorer splits its own command line at commas, so the path goes in double
// quotes: "/select,"C:\a,b\c.jpg"". Without a picture the text is "/select,"
// alone, which just opens a window.
std::wstring SelectArgument(const std::wstring& path);
