#include "tests/support/FakeActiveDesktop.h"

#include <shlguid.h>

IActiveDesktop* FakeActiveDesktop::Share()
{
    AddRef();
    return this;
}

std::vector<std::wstring> FakeActiveDesktop::Shown() const
{
    std::vector<std::wstring> paths;
    for (const Call& call : calls) {
        if (call.kind == Kind::SetWallpaper) paths.push_back(call.path);
    }
    return paths;
}

std::wstring FakeActiveDesktop::LastShown() const
{
    const std::vector<std::wstring> paths = Shown();
    return paths.empty() ? L"(none)" : paths.back();
}

STDMETHODIMP FakeActiveDesktop::QueryInterface(REFIID riid, void** object)
{
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IActiveDesktop)) {
        *object = Share();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) FakeActiveDesktop::AddRef()
{
    return static_cast<ULONG>(++references);
}

STDMETHODIMP_(ULONG) FakeActiveDesktop::Release()
{
    return static_cast<ULONG>(--references);
}

FakeActiveDesktop::Call& FakeActiveDesktop::Record(Kind kind)
{
    calls.emplace_back();
    calls.back().kind = kind;
    return calls.back();
}

STDMETHODIMP FakeActiveDesktop::ApplyChanges(DWORD flags)
{
    Record(Kind::ApplyChanges).flags = flags;
    return applyResult;
}

STDMETHODIMP FakeActiveDesktop::SetWallpaper(PCWSTR path, DWORD reserved)
{
    Call& call = Record(Kind::SetWallpaper);
    call.path = path ? path : L"(null)";
    call.reserved = reserved;
    return setWallpaperResult;
}

STDMETHODIMP FakeActiveDesktop::SetWallpaperOptions(LPCWALLPAPEROPT options, DWORD reserved)
{
    Call& call = Record(Kind::SetWallpaperOptions);
    if (options != nullptr) {
        call.size = options->dwSize;
        call.style = options->dwStyle;
    }
    call.reserved = reserved;
    return setOptionsResult;
}
