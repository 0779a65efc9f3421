#pragma once

#include <windows.h>

// Exit codes of the process.
constexpr int kExitFrameFailed = 0;
constexpr int kExitAnotherCopy = 1;

// Held by the running copy for as long as it runs; local to the user's
// session, so each user who is logged on runs a copy of their own.
constexpr wchar_t kInstanceMutexName[] = L"Local\\Lumivane.Running";

// Runs the hidden frame and the message loop on the calling thread until the
// frame is destroyed; returns the exit code.
int RunApp();

// The whole life of the process, from COM to COM: refuses a second copy,
// runs RunApp and returns the exit code.
int RunProcess(HINSTANCE instance);
