#pragma once

#include "tests/support/ActiveDesktopBase.h"

#include <string>
#include <vector>

// A desktop service that records what the playlist asks of it, in order.
// It lives on the test's stack: the reference count is only watched, so it
// must outlive every player it was handed to.
class FakeActiveDesktop : public ActiveDesktopBase {
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
    STDMETHODIMP SetWallpaper(PCWSTR path, DWORD reserved) override;
    STDMETHODIMP SetWallpaperOptions(LPCWALLPAPEROPT options, DWORD reserved) override;

private:
    // A new call of that kind at the end of `calls`.
    Call& Record(Kind kind);
};
