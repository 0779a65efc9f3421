// A dwmapi.dll as one planted beside the program: it marks the process that
// loads it, so a test can tell it ran.

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void*)
{
    if (reason == DLL_PROCESS_ATTACH) ::SetEnvironmentVariableW(L"LUMI_PLANTED_DLL", L"loaded");
    return TRUE;
}
