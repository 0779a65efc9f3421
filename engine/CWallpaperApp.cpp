#include "engine/CWallpaperApp.h"

#include "config/DataFolder.h"
#include "engine/DesktopCover.h"
#include "engine/FileManager.h"
#include "engine/FolderScan.h"
#include "engine/TimerPeriod.h"

#include <shlwapi.h>

#include <utility>

namespace {

const wchar_t kWindowClass[] = L"LumivaneController";
const wchar_t kConfigFile[] = L"lumi.ini";
const wchar_t kListFile[] = L"wallpaper.txt";

} // namespace

CWallpaperApp::CWallpaperApp() : CWallpaperApp([](CWallpaperPlayer& p) { p.Init(); }) {}

CWallpaperApp::CWallpaperApp(PlayerInit init) : playerInit(std::move(init)) {}

std::wstring CWallpaperApp::DataFile(const wchar_t* name) const
{
    wchar_t folder[kPathChars] = {};
    GetDataFolderPath(folder, kPathChars);
    wchar_t path[kPathChars] = {};
    ::PathCombineW(path, folder, name);
    return path;
}

int CWallpaperApp::Initialize(HWND owner)
{
    conf.Load(DataFile(kConfigFile).c_str());
    paused = conf.state == CConf::kStatePaused;

    playerInit(player);
    listRebuilt = LoadOrRescanFolders(player, conf.folders, DataFile(kListFile).c_str());

    player.SetStyle(static_cast<WallpaperStyle>(conf.style));
    player.SetCurrentPath(conf.lastpic.c_str());
    if (listRebuilt) SaveState();

    WNDCLASSEXW wc = {};
    wc.lpszClassName = kWindowClass;
    RegisterWindowClass(wc);
    CreateFromClass(kWindowClass, owner, L"", WS_POPUP, 0);

    return static_cast<int>(conf.folders.size());
}

void CWallpaperApp::Start()
{
    Next();
    ArmTimer();
    paused = false;
    conf.state = 0;
}

void CWallpaperApp::Pause()
{
    ::KillTimer(GetHandle(), kChangeTimerId);
    paused = true;
    conf.state = CConf::kStatePaused;
}

void CWallpaperApp::Next()
{
    player.Next();
    PostPictureChanged();
}

void CWallpaperApp::Previous()
{
    player.Previous();
    PostPictureChanged();
}

void CWallpaperApp::RestartTimer()
{
    // Setting an existing timer again restarts its countdown.
    ArmTimer();
}

void CWallpaperApp::ClearDesktop()
{
    Pause();
    player.ClearWallpaper();
    conf.state = CConf::kStatePaused;
}

void CWallpaperApp::DeletePicture(int position)
{
    if (!player.DeletePicture(position)) return;
    pictureDeleted = true;
    SaveState();
    PostPictureChanged();
}

void CWallpaperApp::ShowPicture(const std::wstring& text)
{
    player.GoToPath(text.c_str());
}

void CWallpaperApp::RevealCurrent()
{
    RevealInFileManager(GetCurrentPath().c_str());
}

std::wstring CWallpaperApp::GetCurrentPath() const
{
    return player.GetCurrent();
}

int CWallpaperApp::GetPosition() const
{
    return player.GetPosition();
}

int CWallpaperApp::GetCount() const
{
    return player.GetCount();
}

bool CWallpaperApp::FoldersChanged(const CConf& edited) const
{
    if (edited.folders.size() != conf.folders.size()) return true;
    for (size_t i = 0; i < conf.folders.size(); ++i) {
        if (::lstrcmpiW(edited.folders[i].path.c_str(), conf.folders[i].path.c_str()) != 0) return true;
    }
    return false;
}

void CWallpaperApp::ApplySettings(const CConf& edited)
{
    const bool foldersChanged = FoldersChanged(edited);
    const bool intervalChanged = conf.playinterval != edited.playinterval;

    conf = edited;
    player.SetStyle(static_cast<WallpaperStyle>(conf.style));
    if (foldersChanged) {
        RescanFolders();
        listRebuilt = true;
    }
    if (!paused && (intervalChanged || foldersChanged)) ArmTimer();
}

void CWallpaperApp::RescanFolders()
{
    ::RescanFolders(player, conf.folders);
}

bool CWallpaperApp::SaveState()
{
    conf.lastpic = GetCurrentPath();
    conf.Save(listRebuilt);
    if (listRebuilt || pictureDeleted) {
        // A list that could not be written stays due: otherwise lumi.ini
        // would already hold the new folder times while wallpaper.txt holds
        // the old list, and the next start would trust that old list.
        if (player.SaveList(DataFile(kListFile).c_str())) {
            listRebuilt = false;
            pictureDeleted = false;
        }
    }
    return true;
}

void CWallpaperApp::Shutdown()
{
    SaveState();
    if (::IsWindow(GetHandle())) ::DestroyWindow(GetHandle());
}

void CWallpaperApp::ArmTimer()
{
    ::SetTimer(GetHandle(), kChangeTimerId, TimerPeriodMs(conf.playinterval), nullptr);
}

void CWallpaperApp::PostPictureChanged()
{
    // Posted, never sent: the owner updates its tooltip after this operation has returned.
    HWND owner = ::GetParent(GetHandle());
    if (owner != nullptr) ::PostMessageW(owner, WM_PICTURE_CHANGED, 0, 0);
}

void CWallpaperApp::OnTimer(WPARAM timerId)
{
    if (timerId != kChangeTimerId) return;
    if (IsDesktopCovered()) return;
    Next();
}

LRESULT CWallpaperApp::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_DESTROY:
        ::KillTimer(GetHandle(), kChangeTimerId);
        return 0;
    default:
        return CWindowImpl::HandleMessage(msg, wParam, lParam);
    }
}
