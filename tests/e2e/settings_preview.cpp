// Test-only program: shows the settings dialog modally with no owner, over
// two folders with the second one current, so a script can photograph it in
// a Wine virtual desktop. With a file argument it reports there the
// dialog's rectangle once it is up and the button that closed it.
#include "settings/CSettingDlg.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>

namespace {

const wchar_t* g_reportPath = nullptr;
constexpr UINT kFindDialogPeriodMs = 50;

void Report(const char* format, long a, long b = 0, long c = 0, long d = 0)
{
    if (g_reportPath == nullptr) return;
    FILE* file = _wfopen(g_reportPath, L"a");
    if (file == nullptr) return;
    std::fprintf(file, format, a, b, c, d);
    std::fclose(file);
}

void CALLBACK ReportDialogRect(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = ::FindWindowW(L"#32770", L"Lumivane\u8bbe\u7f6e");
    if (dialog == nullptr) return;
    ::KillTimer(nullptr, timer);
    RECT rect = {};
    ::GetWindowRect(dialog, &rect);
    Report("window %ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    ::CoInitialize(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    ::InitCommonControlsEx(&controls);

    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argv != nullptr && argc > 1) g_reportPath = argv[1];
    ::SetTimer(nullptr, 0, kFindDialogPeriodMs, &ReportDialogRect);

    CConf conf;
    conf.playinterval = 30;
    conf.style = Stretch;
    // "C:\图片\风景" (pictures, landscapes) and a Latin one, the current picture in the second.
    conf.folders.push_back({L"C:\\\u56fe\u7247\\\u98ce\u666f", L"", false});
    conf.folders.push_back({L"D:\\Photos\\Holiday", L"", false});
    CSettingDlg settings(conf, L"D:\\Photos\\Holiday\\beach.jpg");
    const INT_PTR result = settings.DoModal(nullptr);
    Report("result %ld\n", static_cast<long>(result));
    ::LocalFree(argv);
    ::CoUninitialize();
    return result == IDOK ? 0 : 1;
}
