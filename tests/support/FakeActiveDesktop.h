#pragma once

#include <windows.h>
#include <wininet.h>
#include <shlobj.h>

#include <string>
#include <vector>

// A desktop service that records what the playlist asks of it, in order.
// It lives on the test's stack: the reference count is only watched, so it
// must outlive every player it was handed to.
class FakeActiveDesktop : public IActiveDesktop {
public:
    enum class Kind { SetWallpaper, SetWallpaperOptions, ApplyChanges };
    struct Call {
        Kind kind = Kind::SetWallpaper;
        std::wstring path;   // SetWallpaper
        DWORD size = 0;      // SetWallpaperOptions: dwSize
        DWORD style = 0;     // SetWallpaperOptions: dwStyle
        DWORD flags = 0;     // ApplyChanges
        DWORD reserved = 0;  // SetWallpaper, SetWallpaperOptions
    };

    // A new reference for a player to own.
    IActiveDesktop* Share();

    // The wallpaper paths set, in order: the shortest view of what was shown.
    std::vector<std::wstring> Shown() const;
    // The last of them, or "(none)", so a test may compare it when nothing was shown.
    std::wstring LastShown() const;

    std::vector<Call> calls;
    LONG references = 0;
    HRESULT setWallpaperResult = S_OK;
    HRESULT setOptionsResult = S_OK;
    HRESULT applyResult = S_OK;

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP ApplyChanges(DWORD flags) override;
    STDMETHODIMP GetWallpaper(PWSTR, UINT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetWallpaper(PCWSTR path, DWORD reserved) override;
    STDMETHODIMP GetWallpaperOptions(LPWALLPAPEROPT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetWallpaperOptions(LPCWALLPAPEROPT options, DWORD reserved) override;
    STDMETHODIMP GetPattern(PWSTR, UINT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetPattern(PCWSTR, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetDesktopItemOptions(LPCOMPONENTSOPT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetDesktopItemOptions(LPCCOMPONENTSOPT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP AddDesktopItem(LPCCOMPONENT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP AddDesktopItemWithUI(HWND, LPCOMPONENT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP ModifyDesktopItem(LPCCOMPONENT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP RemoveDesktopItem(LPCCOMPONENT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetDesktopItemCount(int*, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetDesktopItem(int, LPCOMPONENT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetDesktopItemByID(ULONG_PTR, LPCOMPONENT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GenerateDesktopItemHtml(PCWSTR, LPCOMPONENT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP AddUrl(HWND, PCWSTR, LPCOMPONENT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetDesktopItemBySource(PCWSTR, LPCOMPONENT, DWORD) override { return E_NOTIMPL; }
};
