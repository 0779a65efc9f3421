#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The position and matching rules of the playlist, kept free of the platform
// so they can be checked on their own. A position is a 0-based index; -1 means
// no current picture, and after the list shrank it may lie at or past the end.

// The position after one step forward in a list of `count` entries (count > 0):
// the next entry, or entry 0 after the last one and from -1 or past the end.
int StepForward(int position, int count);

// The position after one step backward (count > 0): the previous entry, or the
// last one from entry 0, from -1, and from anywhere at or past the end.
int StepBackward(int position, int count);

// What removing entry `index` does to the current position; `countAfter` is
// the number of entries left. `show` is set when a different picture now sits
// at the current position and must be applied.
struct DeleteStep {
    int position;
    bool show;
};
DeleteStep StepAfterDelete(int index, int position, int countAfter);

// True when `text` begins with `prefix`, ASCII letters compared without regard
// to case and every other character exactly.
bool StartsWithAsciiNoCase(const std::wstring& text, const std::wstring& prefix);

// True when the extension (dot included) is one of the picture extensions.
bool IsPictureExtension(const std::wstring& extension);

// The lines of a list file: split at LF, with one CR directly before the LF
// dropped. A last line without LF is a line; a final LF adds no empty line.
// Takes the first line off `rest` into `line`; false when `rest` is empty.
bool TakeListLine(std::string_view& rest, std::string_view& line);

// The number of lines TakeListLine finds in `bytes`.
size_t CountListLines(std::string_view bytes);
