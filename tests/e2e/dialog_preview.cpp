// Test-only program: shows the about box, or the settings dialog over two
// folders with the second one current, modally with no owner, the way the
// tray's hidden frame shows them, so a script can look at it in a Wine virtual
// desktop. With a file argument it reports there what only the program
// knows: the work area it centres on, what its manifest told the system, the
// rectangles of the dialog and of the about box's web link, and the button
// that closed it.
//
//   dialog_preview about|settings [REPORT]
#include "about/CAboutDlg.h"
#include "resources/resource.h"
#include "settings/CSettingDlg.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>

namespace {

const wchar_t* g_reportPath = nullptr;
const wchar_t* g_caption = nullptr;
constexpr UINT kFindDialogPeriodMs = 50;
constexpr wchar_t kAboutCaption[] = L"\u5173\u4e8e";
constexpr wchar_t kSettingsCaption[] = L"Lumivane\u8bbe\u7f6e";

void Report(const char* format, long a, long b = 0, long c = 0, long d = 0)
{
    if (g_reportPath == nullptr) return;
    FILE* file = _wfopen(g_reportPath, L"a");
    if (file == nullptr) return;
    std::fprintf(file, format, a, b, c, d);
    std::fclose(file);
}

void ReportRect(const char* format, HWND window)
{
    RECT rect = {};
    if (::GetWindowRect(window, &rect)) Report(format, rect.left, rect.top, rect.right, rect.bottom);
}

// Runs inside the dialog's modal loop once the dialog exists.
void CALLBACK ReportDialogRect(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = ::FindWindowW(L"#32770", g_caption);
    if (dialog == nullptr) return;
    ::KillTimer(nullptr, timer);
    ReportRect("window %ld %ld %ld %ld\n", dialog);
    ReportRect("weblink %ld %ld %ld %ld\n", ::GetDlgItem(dialog, IDC_WEB_LINK));
}

INT_PTR ShowAbout()
{
    CAboutDlg about;
    return about.DoModal(nullptr);
}

INT_PTR ShowSettings()
{
    CConf conf;
    conf.playinterval = 30;
    conf.style = Stretch;
    // "C:\图片\风景" (pictures, landscapes) and a Latin one, the current picture in the second.
    conf.folders.push_back({L"C:\\\u56fe\u7247\\\u98ce\u666f", L"", false});
    conf.folders.push_back({L"D:\\Photos\\Holiday", L"", false});
    CSettingDlg settings(conf, L"D:\\Photos\\Holiday\\beach.jpg");
    return settings.DoModal(nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    ::CoInitialize(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    ::InitCommonControlsEx(&controls);

    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    const bool about = argv != nullptr && argc > 1 && ::lstrcmpW(argv[1], L"about") == 0;
    if (argv != nullptr && argc > 2) g_reportPath = argv[2];
    g_caption = about ? kAboutCaption : kSettingsCaption;

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
    ::SetTimer(nullptr, 0, kFindDialogPeriodMs, &ReportDialogRect);

    const INT_PTR result = about ? ShowAbout() : ShowSettings();
    Report("result %ld\n", static_cast<long>(result));
    ::LocalFree(argv);
    ::CoUninitialize();
    return result == IDOK ? 0 : 1;
}
