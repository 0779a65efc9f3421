#pragma once

#include <string>

// One configured picture folder.
class CFolderEntry {
public:
    std::wstring path;     // absolute folder path as the folder picker returned it
    std::wstring time;     // "%d" of the folder's modification time at the last scan; empty if never scanned
    bool changed = false;  // run-time only: modified since `time`
};
