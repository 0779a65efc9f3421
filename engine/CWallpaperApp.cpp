#include "engine/CWallpaperApp.h"

#include "config/DataFolder.h"
#include "engine/DesktopCover.h"
#include "engine/FileManager.h"
#include "engine/FolderScan.h"
#include "engine/TimerPeriod.h"
#include "win/PathCompare.h"

#include <utility>

namespace {

const wchar_t kWindowClass[] = L"LumivaneController";

// Writes wallpaper.txt when it is due. lumi.ini vouches for the list through
// the folder times, so after a rebuild it first holds the new folders without
// times: a start after a failure or a crash before the new list and its times
// are both on disk rebuilds instead of trusting the old list.
bool SaveListFile(const CConf& conf, bool listRebuilt, bool pictureDeleted, const CWallpaperPlayer& player)
{
    if (!listRebuilt && !pictureDeleted) return true;
    if (listRebuilt) {
        CConf unstamped = conf;
        for (CFolderEntry& folder : unstamped.folders) folder.time.clear();
        if (!unstamped.Save(true)) return false;
    }
    const std::wstring listFile = GetDataFilePath(kListFileName);
    return !listFile.empty() && player.SaveList(listFile.c_str());
}

}  // namespace

CWallpaperApp::CWallpaperApp() : CWallpaperApp(PlayerInit()) {}

// Without a given one, the playlist gets the real desktop service.
CWallpaperApp::CWallpaperApp(PlayerInit init, IChangeTimer& changeTimer)
    : playerInit(init ? std::move(init) : [](CWallpaperPlayer& p) { p.Init(); }),
      timer(changeTimer)
{}

int CWallpaperApp::Initialize(HWND owner)
{
    // Without a data folder there is nothing to read: the defaults apply and the list is rebuilt.
    const std::wstring configFile = GetDataFilePath(kConfigFileName);
    if (!configFile.empty()) conf.Load(configFile.c_str());
    paused = conf.state == CConf::kStatePaused;

    playerInit(player);
    listRebuilt = LoadOrRescanFolders(player, conf.folders, GetDataFilePath(kListFileName).c_str());

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
    timer.Stop(GetHandle(), kChangeTimerId);
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
        if (!SamePathIgnoringCase(edited.folders[i].path, conf.folders[i].path)) return true;
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
    const bool listSaved = SaveListFile(conf, listRebuilt, pictureDeleted, player);
    if (listSaved) pictureDeleted = false;
    // The folder sections wait for the list they vouch for.
    const bool confSaved = conf.Save(listRebuilt && listSaved);
    if (listSaved && confSaved) listRebuilt = false;
    return listSaved && confSaved;
}

void CWallpaperApp::Shutdown()
{
    SaveState();
    if (IsAlive()) Destroy();
}

void CWallpaperApp::ArmTimer()
{
    // Without our window SetTimer would make a thread timer that KillTimer cannot reach.
    if (GetHandle() == nullptr) return;
    timer.Arm(GetHandle(), kChangeTimerId, TimerPeriodMs(conf.playinterval));
}

void CWallpaperApp::PostPictureChanged()
{
    // Posted, never sent: the owner updates its tooltip after this operation has returned.
    const CWindow owner = GetParent();
    if (owner != nullptr) owner.Post(WM_PICTURE_CHANGED);
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
        timer.Stop(GetHandle(), kChangeTimerId);
        return 0;
    default:
        return CWindowImpl::HandleMessage(msg, wParam, lParam);
    }
}
