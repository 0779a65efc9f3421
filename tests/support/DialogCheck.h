#pragma once

#include <windows.h>

#include <vector>

// A control as a user meets it: its id, its window class and the text it
// shows (null where the dialog fills the text in).
struct ControlSeen {
    int id;
    const wchar_t* className;
    const wchar_t* text;
};

// Checks a live dialog as a user meets it: a modal frame with this caption,
// in the 9-point 宋体 of the program's dialogs; exactly these controls, in
// this order; OK as the default button; Tab visiting the controls of
// `tabOrder` in turn; every control inside the dialog, and none over another
// but an up-down on its buddy.
void ExpectDialogShows(HWND dialog, const wchar_t* caption, const std::vector<ControlSeen>& controls,
                       const std::vector<int>& tabOrder);
