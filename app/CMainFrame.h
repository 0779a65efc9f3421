#pragma once

#include "app/CIdleHandler.h"
#include "app/CMessageFilter.h"
#include "app/CTrayIconImpl.h"
#include "resources/resource.h"
#include "win/CWindowImpl.h"
#include "win/UniqueHandle.h"

#include <windows.h>

#include <string>

// The class of the hidden frame, and the mark of a running copy.
constexpr wchar_t kFrameClassName[] = L"lumivane";
// Icon, menu and notification id of the tray icon.
constexpr UINT kTrayMenuId = IDR_TRAYMENU;

// The program's one top-level window. It is never shown; it owns the tray
// icon, and its destruction ends the message loop with exit code 1.
class CMainFrame : public CWindowImpl,
                   public CMessageFilter,
                   public CIdleHandler,
                   public CTrayIconImpl<CMainFrame> {
public:
    CMainFrame();
    ~CMainFrame() override;

    // Registers the window class if needed and creates the hidden window.
    // Null when the window could not be created.
    HWND StartFrame();

    bool FilterMessage(MSG* msg) override;
    bool OnIdleTime() override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    static bool RegisterFrameClass();

    LRESULT OnCreate();
    void OnDestroy();
    void OnTaskbarCreated();
    bool OnCommand(UINT id);
    void OnAbout();
    std::wstring BuildTip() const;

    UINT taskbarCreatedMsg = 0;
    UniqueIcon stateIcon;
};
