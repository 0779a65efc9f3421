#include "app/CMainFrame.h"

#include "about/CAboutDlg.h"
#include "resources/resource.h"
#include "settings/CSettingDlg.h"
#include "win/AppMessages.h"
#include "win/DecimalText.h"
#include "win/PathChars.h"
#include "win/ResourceInstance.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <iterator>
#include <utility>

namespace {
constexpr DWORD kFrameStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
constexpr DWORD kFrameExStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
// The exit code of a normal end, carried by WM_QUIT.
constexpr int kQuitCode = 1;
constexpr UINT kDeleteQuestionFlags = MB_OKCANCEL | MB_ICONEXCLAMATION;
constexpr wchar_t kReadMeName[] = L"ReadMe.txt";
// Where the delete question takes the picture's path.
constexpr wchar_t kPathMark[] = L"%s";

// At the system's size, so each display scale gets the image drawn for it
// instead of a smaller one stretched.
HICON LoadIconSized(UINT id, int widthMetric, int heightMetric)
{
    return static_cast<HICON>(::LoadImageW(GetResourceInstance(), MAKEINTRESOURCEW(id), IMAGE_ICON,
                                           ::GetSystemMetrics(widthMetric), ::GetSystemMetrics(heightMetric),
                                           LR_DEFAULTCOLOR));
}

HICON LoadSmallIcon(UINT id)
{
    return LoadIconSized(id, SM_CXSMICON, SM_CYSMICON);
}

// The question's text with the picture's path in place of its "%s". The path
// is the user's, so it never goes through a format string.
std::wstring WithPath(std::wstring question, const std::wstring& path)
{
    const size_t mark = question.find(kPathMark);
    if (mark != std::wstring::npos) question.replace(mark, std::size(kPathMark) - 1, path);
    return question;
}
}  // namespace

CMainFrame::CMainFrame(CWallpaperApp::PlayerInit playerInit, SettingsRunner settings, IChangeTimer& timer)
    : taskbarCreatedMsg(::RegisterWindowMessageW(L"TaskbarCreated")),
      postedShowPictureGuard(
          ::SetWindowsHookExW(WH_GETMESSAGE, &CMainFrame::DropPostedShowPicture, nullptr, ::GetCurrentThreadId())),
      app(std::move(playerInit), timer),
      runSettings(settings ? std::move(settings) : &CMainFrame::RunSettingsDialog)
{}

CMainFrame::~CMainFrame()
{
    // OnDestroy must run while the controller and this object are whole; the
    // window base would destroy the window only after both are gone.
    if (GetHandle() != nullptr) Destroy();
    // The shell may draw the icon until it is deleted, so the icon goes
    // before the handle it shows is released.
    RemoveFromTray();
}

bool CMainFrame::RegisterFrameClass()
{
    HINSTANCE instance = GetResourceInstance();
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (::GetClassInfoExW(instance, kFrameClassName, &wc)) return true;

    // The class keeps its icons for the life of the process.
    wc = {};
    wc.hInstance = instance;
    wc.lpszClassName = kFrameClassName;
    wc.hIcon = LoadIconSized(IDR_FRAME, SM_CXICON, SM_CYICON);
    wc.hIconSm = LoadSmallIcon(IDR_FRAME);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    return RegisterWindowClass(wc);
}

// The settings dialog sends its request for a folder's picture; a posted one
// comes from anyone, with a pointer into anyone's memory, and cannot be told
// apart once dispatched. So it is emptied as it is taken from the queue, by
// whichever loop takes it, ours or a modal one.
LRESULT CALLBACK CMainFrame::DropPostedShowPicture(int code, WPARAM removal, LPARAM lParam)
{
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && msg->message == WM_SHOW_PICTURE &&
        CWindow(msg->hwnd).GetWindowClass() == kFrameClassName) {
        msg->message = WM_NULL;
    }
    return ::CallNextHookEx(nullptr, code, removal, lParam);
}

HWND CMainFrame::StartFrame()
{
    if (!RegisterFrameClass()) return nullptr;
    // The frame has no menu and no accelerators: it is never shown and would
    // act on none of their general document commands.
    const std::wstring caption = LoadResString(IDS_FRAME_CAPTION);
    return CreateFromClass(kFrameClassName, nullptr, caption.c_str(), kFrameStyle, kFrameExStyle);
}

LRESULT CMainFrame::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        return OnCreate();
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_PICTURE_CHANGED:
        UpdateTip();
        return 0;
    case WM_SHOW_PICTURE:
        if (IsSentByThisThread()) OnShowPicture(reinterpret_cast<const wchar_t*>(lParam));
        return 0;
    case WM_ENDSESSION:
        OnEndSession(wParam != FALSE);
        return 0;
    case WM_COMMAND:
        if (OnCommand(LOWORD(wParam))) return 0;
        break;
    default:
        if (msg == taskbarCreatedMsg) {
            OnTaskbarCreated();
            return 0;
        }
        if (msg == GetCallbackMessage()) return OnTrayNotify(wParam, lParam);
        break;
    }
    return CWindowImpl::HandleMessage(msg, wParam, lParam);
}

LRESULT CMainFrame::OnCreate()
{
    const int folderCount = app.Initialize(GetHandle());
    // Nothing to show yet: the user names the folders before any icon appears.
    if (folderCount == 0 || app.GetCount() == 0) OpenSettings(false);
    if (!app.IsPaused()) app.Start();

    stateIcon.Reset(LoadSmallIcon(app.IsPaused() ? IDI_PAUSED : IDI_PLAYING));
    AddToTray(BuildTip().c_str(), stateIcon.Get(), kTrayMenuId);
    return 0;
}

void CMainFrame::OnDestroy()
{
    app.Shutdown();
    ::PostQuitMessage(kQuitCode);
}

void CMainFrame::OnTaskbarCreated()
{
    // A restarted shell has forgotten every icon.
    AddToTray(BuildTip().c_str(), stateIcon.Get(), kTrayMenuId);
}

// A cancelled end of the session leaves the program running as before, so
// only the state is saved; stopping the controller then would leave a tray
// that says "playing" over a wallpaper that never changes again.
void CMainFrame::OnEndSession(bool ending)
{
    if (ending) {
        app.Shutdown();
    } else {
        app.SaveState();
    }
}

void CMainFrame::OnShowPicture(const wchar_t* folder)
{
    if (folder == nullptr) return;
    app.ShowPicture(folder);
    UpdateTip();
}

bool CMainFrame::OnCommand(UINT id)
{
    switch (id) {
    case ID_NEXT_PICTURE:
        OnNext();
        return true;
    case ID_PREVIOUS_PICTURE:
        OnPrevious();
        return true;
    case ID_PAUSE_START:
        OnPauseStart();
        return true;
    case ID_CLEAR_DESKTOP:
        OnClearDesktop();
        return true;
    case ID_OPEN_FOLDER:
        app.RevealCurrent();
        return true;
    case ID_DELETE_PICTURE:
        OnDeletePicture();
        return true;
    case ID_SETTINGS:
        OpenSettings(true);
        return true;
    case ID_HELP:
        OnHelp();
        return true;
    case ID_APP_ABOUT:
        OnAbout();
        return true;
    case ID_APP_EXIT:
        Post(WM_CLOSE);
        return true;
    default:
        return false;
    }
}

// A picture chosen by hand gets a full interval before the timer moves on.
void CMainFrame::OnNext()
{
    app.Next();
    if (!app.IsPaused()) app.RestartTimer();
}

void CMainFrame::OnPrevious()
{
    app.Previous();
    if (!app.IsPaused()) app.RestartTimer();
}

void CMainFrame::OnPauseStart()
{
    if (app.IsPaused()) {
        SetStateIcon(false);
        app.Start();
    } else {
        SetStateIcon(true);
        app.Pause();
    }
}

void CMainFrame::OnClearDesktop()
{
    app.ClearDesktop();
    SetStateIcon(true);
}

void CMainFrame::OnDeletePicture()
{
    // The position is taken before the question; the menu stays blocked while
    // it is open, so no second delete can shift the list under this one.
    const std::wstring path = app.GetCurrentPath();
    const int position = app.GetPosition();
    const std::wstring question = WithPath(LoadResString(IDS_CONFIRM_DELETE), path);
    const std::wstring caption = LoadResString(IDS_WARNING);

    const MenuBlock block(*this);
    if (::MessageBoxW(GetHandle(), question.c_str(), caption.c_str(), kDeleteQuestionFlags) == IDOK) {
        app.DeletePicture(position);
    }
}

void CMainFrame::OnHelp()
{
    wchar_t path[kPathChars] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, kPathChars);
    // A cut-off module path would name some other file.
    if (length == 0 || length >= kPathChars) return;
    ::PathRemoveFileSpecW(path);
    if (!::PathAppendW(path, kReadMeName)) return;
    ::ShellExecuteW(nullptr, nullptr, path, nullptr, nullptr, SW_SHOW);
}

void CMainFrame::OnAbout()
{
    // While the box is open a click on the icon brings it forward instead of
    // opening a second way into the program.
    const MenuBlock block(*this);
    CAboutDlg about;
    about.DoModal(GetHandle());
}

// From the menu (advance) an accepted dialog shows the next picture at once
// and restarts the interval; at start-up the controller's Start does that.
void CMainFrame::OpenSettings(bool advance)
{
    const MenuBlock block(*this);
    const SettingsOutcome outcome = runSettings(GetHandle(), app.GetConf(), app.GetCurrentPath());
    if (!outcome.accepted) return;
    app.ApplySettings(outcome.conf);
    if (advance && !app.IsPaused()) OnNext();
    app.SaveState();
}

CMainFrame::SettingsOutcome CMainFrame::RunSettingsDialog(HWND owner, const CConf& conf,
                                                          const std::wstring& currentPicture)
{
    CSettingDlg dialog(conf, currentPicture);
    const bool accepted = dialog.DoModal(owner) == IDOK;
    return SettingsOutcome{accepted, dialog.GetConf()};
}

void CMainFrame::CustomizeMenu(HMENU popup)
{
    const std::wstring label = LoadResString(app.IsPaused() ? IDS_START : IDS_PAUSE);
    ::ModifyMenuW(popup, ID_PAUSE_START, MF_BYCOMMAND | MF_STRING, ID_PAUSE_START, label.c_str());
}

// The new icon is shown before the old one is released, so the shell never
// holds a destroyed handle.
void CMainFrame::SetStateIcon(bool paused)
{
    UniqueIcon shown(LoadSmallIcon(paused ? IDI_PAUSED : IDI_PLAYING));
    ChangeIcon(shown.Get());
    stateIcon = std::move(shown);
}

void CMainFrame::UpdateTip()
{
    ChangeTip(BuildTip().c_str());
}

std::wstring CMainFrame::BuildTip() const
{
    std::wstring tip = LoadResString(IDS_PRODUCT);
    const std::wstring path = app.GetCurrentPath();
    if (path.empty()) return tip;

    tip += L" - [" + DecimalText(app.GetPosition()) + L"/" + DecimalText(app.GetCount()) + L"] - [";
    tip += ::PathFindFileNameW(path.c_str());
    tip += L"]";
    return tip;
}
