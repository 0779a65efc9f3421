#pragma once

// True when the file-system entry exists. An entry the caller may not even
// look at is still there, so "access denied" counts as existing too.
bool FileExists(const wchar_t* path);
