#pragma once

#include "config/WallpaperStyle.h"
#include "win/ComPtr.h"

#include <windows.h>
#include <wininet.h>  // before <shlobj.h>, which declares IActiveDesktop only after it
#include <shlobj.h>

#include <string>
#include <vector>

// The playlist: the ordered picture paths, the current position and the style
// a picture is shown with. It applies pictures through the active desktop.
class CWallpaperPlayer {
public:
    CWallpaperPlayer() = default;
    virtual ~CWallpaperPlayer() = default;

    CWallpaperPlayer(const CWallpaperPlayer&) = delete;
    CWallpaperPlayer& operator=(const CWallpaperPlayer&) = delete;

    // Creates the shell's active-desktop object; true when it exists.
    bool Init();
    // Takes a desktop service made elsewhere (a recording one in tests).
    bool InitWith(ComPtr<IActiveDesktop> service);

    void Clear();
    bool ScanFolder(const wchar_t* folderPath);
    bool LoadList(const wchar_t* fileName);
    bool SaveList(const wchar_t* fileName) const;

    void SetStyle(WallpaperStyle newStyle);
    void SetCurrentPath(const wchar_t* path);
    bool Next();
    bool Previous();
    void GoToPath(const wchar_t* text);
    bool DeletePicture(int index);

    std::wstring GetCurrent() const;
    int GetPosition() const { return position; }
    int GetCount() const { return static_cast<int>(pictures.size()); }

    bool ShowCurrent();
    void ClearWallpaper();

    static bool IsPicture(const wchar_t* path);

private:
    bool IsIndex(int index) const { return index >= 0 && index < GetCount(); }

    ComPtr<IActiveDesktop> desktop;
    std::vector<std::wstring> pictures;
    int position = -1;
    WallpaperStyle style = Tile;
};
