#pragma once

#include "config/CConf.h"
#include "engine/ChangeTimer.h"
#include "engine/CWallpaperPlayer.h"
#include "win/AppMessages.h"
#include "win/CWindowImpl.h"

#include <functional>
#include <string>

// The wallpaper engine's controller: a hidden window owned by the main frame,
// holding the configuration, the playlist and the change timer. After every
// change of picture it posts WM_PICTURE_CHANGED to its owner.
class CWallpaperApp : public CWindowImpl {
public:
    static constexpr UINT_PTR kChangeTimerId = 1;

    // How the playlist gets its desktop service; tests hand in a recording one.
    using PlayerInit = std::function<void(CWallpaperPlayer&)>;

    CWallpaperApp();
    explicit CWallpaperApp(PlayerInit playerInit, IChangeTimer& timer = SystemChangeTimer());
    ~CWallpaperApp() override = default;

    // Loads the configuration and the playlist and creates the hidden window.
    // Returns the number of configured folders.
    int Initialize(HWND owner);

    void Start();
    void Pause();
    bool IsPaused() const { return paused; }
    void Next();
    void Previous();
    void RestartTimer();
    void ClearDesktop();
    void DeletePicture(int position);
    void ShowPicture(const std::wstring& text);
    void RevealCurrent();

    std::wstring GetCurrentPath() const;
    int GetPosition() const;
    int GetCount() const;
    const CConf& GetConf() const { return conf; }

    void ApplySettings(const CConf& edited);
    bool SaveState();
    void Shutdown();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnTimer(WPARAM timerId);
    void ArmTimer();
    void PostPictureChanged();
    bool FoldersChanged(const CConf& edited) const;
    void RescanFolders();

    PlayerInit playerInit;
    IChangeTimer& timer;
    bool paused = false;
    CWallpaperPlayer player;
    CConf conf;
    bool listRebuilt = false;
    bool pictureDeleted = false;
};
