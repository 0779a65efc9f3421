#pragma once

#include <string>

// True when two paths differ at most in letter case, compared ordinally as
// the file system does: a linguistic compare takes "Straße" and "STRASSE"
// for one folder.
bool SamePathIgnoringCase(const std::wstring& a, const std::wstring& b);
