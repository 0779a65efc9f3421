#include "engine/CWallpaperPlayer.h"

#include "engine/CFileFindEx.h"
#include "engine/DesktopFallback.h"
#include "engine/PictureListFile.h"
#include "engine/PlaylistRules.h"
#include "win/PathChars.h"

#include <shlguid.h>
#include <shlwapi.h>

#include <utility>

bool CWallpaperPlayer::Init()
{
    ComPtr<IActiveDesktop> created;
    ::CoCreateInstance(CLSID_ActiveDesktop, nullptr, CLSCTX_SERVER, IID_IActiveDesktop,
                       reinterpret_cast<void**>(created.Put()));
    return InitWith(std::move(created));
}

bool CWallpaperPlayer::InitWith(ComPtr<IActiveDesktop> service)
{
    desktop = std::move(service);
    return static_cast<bool>(desktop);
}

void CWallpaperPlayer::Clear()
{
    pictures.clear();
}

bool CWallpaperPlayer::ScanFolder(const wchar_t* folderPath)
{
    if (!desktop) return false;
    CFileFindEx find(folderPath, L"*.*");
    if (!find.IsValid()) return false;

    wchar_t path[kPathChars] = {};
    // A folder named like a picture would be a blank desktop and an offer to delete it.
    while (find.FindNext(path)) {
        if (!find.IsDirectory() && IsPicture(path)) pictures.emplace_back(path);
    }
    return true;
}

bool CWallpaperPlayer::LoadList(const wchar_t* fileName)
{
    return ReadPictureList(fileName, pictures);
}

bool CWallpaperPlayer::SaveList(const wchar_t* fileName) const
{
    return WritePictureList(fileName, pictures);
}

void CWallpaperPlayer::SetStyle(WallpaperStyle newStyle)
{
    style = newStyle;
}

void CWallpaperPlayer::SetCurrentPath(const wchar_t* path)
{
    if (path == nullptr || *path == L'\0') return;
    for (size_t i = 0; i < pictures.size(); ++i) {
        if (pictures[i] == path) {
            position = static_cast<int>(i);
            return;
        }
    }
}

bool CWallpaperPlayer::Next()
{
    if (pictures.empty()) return false;
    position = StepForward(position, GetCount());
    return ShowCurrent();
}

bool CWallpaperPlayer::Previous()
{
    if (pictures.empty()) return false;
    position = StepBackward(position, GetCount());
    return ShowCurrent();
}

void CWallpaperPlayer::GoToPath(const wchar_t* text)
{
    if (text == nullptr || *text == L'\0') return;
    const std::wstring prefix(text);
    for (size_t i = 0; i < pictures.size(); ++i) {
        if (StartsWithAsciiNoCase(pictures[i], prefix)) {
            position = static_cast<int>(i);
            ShowCurrent();
            return;
        }
    }
}

bool CWallpaperPlayer::DeletePicture(int index)
{
    if (!IsIndex(index)) return false;
    if (!::DeleteFileW(pictures[static_cast<size_t>(index)].c_str())) return false;

    pictures.erase(pictures.begin() + index);
    const DeleteStep step = StepAfterDelete(index, position, GetCount());
    position = step.position;
    if (step.show) ShowCurrent();
    return true;
}

std::wstring CWallpaperPlayer::GetCurrent() const
{
    return IsIndex(position) ? pictures[static_cast<size_t>(position)] : std::wstring();
}

bool CWallpaperPlayer::ShowCurrent()
{
    if (!desktop || !IsIndex(position)) return false;
    const std::wstring& path = pictures[static_cast<size_t>(position)];

    const HRESULT pathResult = desktop->SetWallpaper(path.c_str(), 0);
    WALLPAPEROPT options = {};
    options.dwSize = sizeof(options);
    options.dwStyle = static_cast<DWORD>(style);
    const HRESULT optionsResult = desktop->SetWallpaperOptions(&options, 0);
    const HRESULT applyResult = desktop->ApplyChanges(AD_APPLY_ALL);

    // Where the service is only a stub (as under Wine), the system call still does the job.
    if (pathResult == E_NOTIMPL || optionsResult == E_NOTIMPL || applyResult == E_NOTIMPL) {
        return ApplyWallpaperThroughSystem(path, style);
    }
    return SUCCEEDED(applyResult);
}

void CWallpaperPlayer::ClearWallpaper()
{
    ClearSystemWallpaper();
}

bool CWallpaperPlayer::IsPicture(const wchar_t* path)
{
    if (path == nullptr) return false;
    return IsPictureExtension(::PathFindExtensionW(path));
}
