#pragma once

#include <windows.h>

// Exit codes of the process.
constexpr int kExitFrameFailed = 0;
constexpr int kExitAnotherCopy = 1;

// Runs the hidden frame and the message loop on the calling thread until the
// frame is destroyed; returns the exit code.
int RunApp();

// The whole life of the process, from COM to COM: refuses a second copy,
// runs RunApp and returns the exit code.
int RunProcess(HINSTANCE instance);
