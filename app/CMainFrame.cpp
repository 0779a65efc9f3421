#include "app/CMainFrame.h"

#include "about/CAboutDlg.h"
#include "app/CAppModule.h"
#include "app/CMessageLoop.h"
#include "resources/resource.h"
#include "win/ResourceInstance.h"

namespace {
constexpr DWORD kFrameStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
constexpr DWORD kFrameExStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
constexpr int kLargeIconSize = 32;
constexpr int kSmallIconSize = 16;
constexpr int kStateIconSize = 16;
// The exit code of a normal end, carried by WM_QUIT.
constexpr int kQuitCode = 1;

HICON LoadIconSized(UINT id, int size)
{
    return static_cast<HICON>(
        ::LoadImageW(GetResourceInstance(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}
}  // namespace

CMainFrame::CMainFrame() : taskbarCreatedMsg(::RegisterWindowMessageW(L"TaskbarCreated")) {}

// The state icon is released first (it is a member); the tray part's own
// destructor then deletes the icon from the notification area.
CMainFrame::~CMainFrame() = default;

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
    wc.hIcon = LoadIconSized(IDR_FRAME, kLargeIconSize);
    wc.hIconSm = LoadIconSized(IDR_FRAME, kSmallIconSize);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    return RegisterWindowClass(wc);
}

HWND CMainFrame::StartFrame()
{
    if (!RegisterFrameClass()) return nullptr;
    // The frame has no menu and no accelerators: it is never shown and would
    // act on none of their general document commands.
    const std::wstring caption = LoadResString(IDS_FRAME_CAPTION);
    return CreateFromClass(kFrameClassName, nullptr, caption.c_str(), kFrameStyle, kFrameExStyle);
}

// The frame keeps its places as the loop's filter and idle handler, but with
// no accelerators and no bars it has nothing to translate or update.
bool CMainFrame::FilterMessage(MSG*)
{
    return false;
}

bool CMainFrame::OnIdleTime()
{
    return false;
}

LRESULT CMainFrame::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        return OnCreate();
    case WM_DESTROY:
        OnDestroy();
        break;
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
    // The wallpaper controller starts here, before the icon shows, once it exists.
    stateIcon.Reset(LoadIconSized(IDI_PLAYING, kStateIconSize));
    AddToTray(BuildTip().c_str(), stateIcon.Get(), kTrayMenuId);

    if (CMessageLoop* loop = g_appModule.LoopForThread(::GetCurrentThreadId())) {
        loop->AddFilter(this);
        loop->AddIdle(this);
    }
    return 0;
}

void CMainFrame::OnDestroy()
{
    // The controller saves its state and closes its window here, once it exists.
    if (CMessageLoop* loop = g_appModule.LoopForThread(::GetCurrentThreadId())) {
        loop->RemoveFilter(this);
        loop->RemoveIdle(this);
    }
    ::PostQuitMessage(kQuitCode);
}

void CMainFrame::OnTaskbarCreated()
{
    // A restarted shell has forgotten every icon.
    AddToTray(BuildTip().c_str(), stateIcon.Get(), kTrayMenuId);
}

bool CMainFrame::OnCommand(UINT id)
{
    switch (id) {
    case ID_APP_EXIT:
        ::PostMessageW(GetHandle(), WM_CLOSE, 0, 0);
        return true;
    case ID_APP_ABOUT:
        OnAbout();
        return true;
    default:
        // The picture commands go to the wallpaper controller, once it exists.
        return false;
    }
}

void CMainFrame::OnAbout()
{
    // While the box is open a click on the icon brings it forward instead of
    // opening a second way into the program.
    AllowMenu(false);
    CAboutDlg about;
    about.DoModal(GetHandle());
    AllowMenu(true);
}

std::wstring CMainFrame::BuildTip() const
{
    // The current picture and its place join the product name once the
    // controller can name them.
    return LoadResString(IDS_PRODUCT);
}
