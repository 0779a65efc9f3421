#pragma once

#include <windows.h>

// For the last line of defence in a window procedure: tells the debugger
// what was caught and in which window, while handling which message. The
// program keeps no log, so this is the only trace such a failure leaves.
// Call only inside a catch block.
void TraceCaughtException(HWND hwnd, UINT msg);
