// Test-only program: shows the about box modally with no owner, the way the
// tray's hidden frame shows it, so a script can look at it in a Wine virtual
// desktop. With a file argument it reports there what only the program
// knows: the work area it centres on, what its manifest told the system,
// the rectangles of the box and of its web link, and the button that closed it.
#include "about/CAboutDlg.h"
#include "resources/resource.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>

namespace {

const wchar_t* g_reportPath = nullptr;
constexpr UINT kFindBoxPeriodMs = 50;

void Report(const char* format, long a, long b = 0, long c = 0, long d = 0)
{
    if (g_reportPath == nullptr) return;
    FILE* file = _wfopen(g_reportPath, L"a");
    if (file == nullptr) return;
    std::fprintf(file, format, a, b, c, d);
    std::fclose(file);
}

// Runs inside the box's modal loop once the box exists.
void CALLBACK ReportBoxRect(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND box = ::FindWindowW(L"#32770", L"\u5173\u4e8e");
    if (box == nullptr) return;
    ::KillTimer(nullptr, timer);
    RECT rect = {};
    ::GetWindowRect(box, &rect);
    Report("window %ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
    ::GetWindowRect(::GetDlgItem(box, IDC_WEB_LINK), &rect);
    Report("weblink %ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    ::InitCommonControlsEx(&controls);

    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argv != nullptr && argc > 1) g_reportPath = argv[1];

    RECT area = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    Report("workarea %ld %ld %ld %ld\n", area.left, area.top, area.right, area.bottom);
    // A program learns its own Windows version only when its manifest names it.
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    ::GetVersionExW(&version);
    wchar_t dpiAware[16] = L"";
    ::QueryActCtxSettingsW(0, nullptr, L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware", dpiAware,
                           16, nullptr);
    Report("manifest windows %ld.%ld dpiaware %ld\n", version.dwMajorVersion, version.dwMinorVersion,
           ::lstrcmpiW(dpiAware, L"true") == 0);
    ::SetTimer(nullptr, 0, kFindBoxPeriodMs, &ReportBoxRect);

    CAboutDlg about;
    const INT_PTR result = about.DoModal(nullptr);
    Report("result %ld\n", static_cast<long>(result));
    ::LocalFree(argv);
    return result == IDOK ? 0 : 1;
}
