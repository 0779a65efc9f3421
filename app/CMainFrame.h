#pragma once

#include "app/CTrayIconImpl.h"
#include "config/CConf.h"
#include "engine/ChangeTimer.h"
#include "engine/CWallpaperApp.h"
#include "resources/resource.h"
#include "win/CWindowImpl.h"
#include "win/UniqueHandle.h"

#include <windows.h>

#include <functional>
#include <string>

// The class of the hidden frame, and the mark of a running copy.
constexpr wchar_t kFrameClassName[] = L"lumivane";
// Icon, menu and notification id of the tray icon.
constexpr UINT kTrayMenuId = IDR_TRAYMENU;

// The program's one top-level window. It is never shown; it owns the
// wallpaper controller and the tray icon, turns tray commands into calls on
// the controller, and its destruction ends the message loop with exit code 1.
class CMainFrame : public CWindowImpl, public CTrayIconImpl<CMainFrame> {
public:
    // How a run of the settings dialog ended, and the configuration it edited.
    struct SettingsOutcome {
        bool accepted = false;
        CConf conf;
    };
    // Runs the settings dialog modally over `owner`, seeded with a copy of
    // the configuration and the current picture's path.
    using SettingsRunner =
        std::function<SettingsOutcome(HWND owner, const CConf& conf, const std::wstring& currentPicture)>;

    // The real desktop service, dialog and timer; tests hand in their own.
    explicit CMainFrame(CWallpaperApp::PlayerInit playerInit = {}, SettingsRunner runSettings = {},
                        IChangeTimer& timer = SystemChangeTimer());
    ~CMainFrame() override;

    // Registers the window class if needed and creates the hidden window.
    // Null when the window could not be created.
    HWND StartFrame();

    const CWallpaperApp& AppForTesting() const { return app; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void CustomizeMenu(HMENU popup) override;

private:
    static bool RegisterFrameClass();
    static LRESULT CALLBACK DropPostedShowPicture(int code, WPARAM removal, LPARAM lParam);
    static SettingsOutcome RunSettingsDialog(HWND owner, const CConf& conf, const std::wstring& currentPicture);

    LRESULT OnCreate();
    void OnDestroy();
    void OnTaskbarCreated();
    void OnEndSession(bool ending);
    void OnShowPicture(const wchar_t* folder);
    bool OnCommand(UINT id);
    void OnNext();
    void OnPrevious();
    void OnPauseStart();
    void OnClearDesktop();
    void OnDeletePicture();
    void OnHelp();
    void OnAbout();
    void OpenSettings(bool advance);
    void SetStateIcon(bool paused);
    void UpdateTip();
    std::wstring BuildTip() const;

    UINT taskbarCreatedMsg = 0;
    UniqueHook postedShowPictureGuard;
    CWallpaperApp app;
    SettingsRunner runSettings;
    UniqueIcon stateIcon;
};
