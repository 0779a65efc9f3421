#include "engine/DesktopFallback.h"

#include "win/RegKey.h"

#include <windows.h>

#include <vector>

namespace {

const wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

// The registry's spelling of each style: "WallpaperStyle" and "TileWallpaper".
struct StyleValues {
    const wchar_t* wallpaperStyle;
    const wchar_t* tileWallpaper;
};

StyleValues ValuesFor(WallpaperStyle style)
{
    switch (style) {
    case Tile:
        return {L"0", L"1"};
    case Stretch:
        return {L"2", L"0"};
    default:
        return {L"0", L"0"};
    }
}

void SetText(HKEY key, const wchar_t* name, const wchar_t* text)
{
    const DWORD bytes = static_cast<DWORD>((lstrlenW(text) + 1) * sizeof(wchar_t));
    ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
}

// A style that cannot be written leaves the old one; the picture is still set.
void WriteStyle(WallpaperStyle style)
{
    const UniqueRegKey key = CreateUserKey(kDesktopKey, KEY_SET_VALUE);
    if (!key) return;
    const StyleValues values = ValuesFor(style);
    SetText(key.Get(), L"WallpaperStyle", values.wallpaperStyle);
    SetText(key.Get(), L"TileWallpaper", values.tileWallpaper);
}

}  // namespace

bool ApplyWallpaperThroughSystem(const std::wstring& path, WallpaperStyle style)
{
    WriteStyle(style);
    // The call takes a writable buffer although it only reads it.
    std::vector<wchar_t> buffer(path.c_str(), path.c_str() + path.size() + 1);
    return ::SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, buffer.data(), SPIF_UPDATEINIFILE | SPIF_SENDCHANGE) !=
           FALSE;
}

void ClearSystemWallpaper()
{
    wchar_t none[] = L"";
    ::SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, none, SPIF_UPDATEINIFILE);
}
