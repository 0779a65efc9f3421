// A stand-in for the shell's active-desktop service, as an in-process COM
// server registered for CLSID_ActiveDesktop in a throw-away prefix (Wine's own
// answers E_NOTIMPL to everything). It logs each call the program makes, one
// line each with the tick count, to lumidesk.log beside this library, and
// hands the wallpaper on to the system, so that Wine's desktop paints it.
#include <windows.h>
#include <wininet.h>
#include <shlobj.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>

#include "tests/support/ActiveDesktopBase.h"
#include "win/ComPtr.h"

namespace {

HMODULE g_self = nullptr;
constexpr int kLineChars = 1024;
constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

std::wstring BesideSelf(const wchar_t* name)
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(g_self, path, MAX_PATH);
    const std::wstring self(path);
    return self.substr(0, self.find_last_of(L'\\') + 1) + name;
}

void Append(const wchar_t* line)
{
    const std::wstring log = BesideSelf(L"lumidesk.log");

    char utf8[kLineChars * 3];
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, line, -1, utf8, sizeof(utf8), nullptr, nullptr);
    if (bytes <= 1) return;
    utf8[bytes - 1] = '\n';
    HANDLE file = ::CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, utf8, static_cast<DWORD>(bytes), &written, nullptr);
    ::CloseHandle(file);
}

void Log(const wchar_t* call, const wchar_t* detail)
{
    wchar_t line[kLineChars];
    std::swprintf(line, kLineChars, L"%lu %ls %ls", ::GetTickCount(), call, detail);
    Append(line);
}

void SetDesktopValue(const wchar_t* name, const wchar_t* value)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                     static_cast<DWORD>((std::wcslen(value) + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
}

// The middle of a picture, at most `most` of it.
WICRect Middle(UINT width, UINT height, SIZE most)
{
    const UINT shownWidth = std::min<UINT>(width, most.cx), shownHeight = std::min<UINT>(height, most.cy);
    return {static_cast<INT>((width - shownWidth) / 2), static_cast<INT>((height - shownHeight) / 2),
            static_cast<INT>(shownWidth), static_cast<INT>(shownHeight)};
}

// Writes as a BMP file what Windows shows of the picture for `style`. Wine's
// desktop paints the BMP as it is, so the stand-in stretches the picture to
// the screen itself, and of a centred one larger than the screen keeps the
// middle, where Wine's desktop would show the top-left corner.
HRESULT WriteShown(IWICImagingFactory* codecs, IWICBitmapSource* pixels, DWORD style, const std::wstring& target)
{
    const SIZE screen = {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ComPtr<IWICBitmapScaler> scaler;
    ComPtr<IWICStream> file;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> bitmap;
    IWICBitmapSource* source = pixels;
    HRESULT hr = S_OK;
    if (style == WPSTYLE_STRETCH) {
        hr = codecs->CreateBitmapScaler(scaler.Put());
        if (SUCCEEDED(hr)) hr = scaler->Initialize(pixels, screen.cx, screen.cy, WICBitmapInterpolationModeFant);
        source = scaler.Get();
    }
    UINT width = 0, height = 0;
    if (SUCCEEDED(hr)) hr = source->GetSize(&width, &height);
    const SIZE whole = {static_cast<LONG>(width), static_cast<LONG>(height)};
    WICRect shown = Middle(width, height, style == WPSTYLE_CENTER ? screen : whole);
    if (SUCCEEDED(hr)) hr = codecs->CreateStream(file.Put());
    if (SUCCEEDED(hr)) hr = file->InitializeFromFilename(target.c_str(), GENERIC_WRITE);
    if (SUCCEEDED(hr)) hr = codecs->CreateEncoder(GUID_ContainerFormatBmp, nullptr, encoder.Put());
    if (SUCCEEDED(hr)) hr = encoder->Initialize(file.Get(), WICBitmapEncoderNoCache);
    if (SUCCEEDED(hr)) hr = encoder->CreateNewFrame(bitmap.Put(), nullptr);
    if (SUCCEEDED(hr)) hr = bitmap->Initialize(nullptr);
    if (SUCCEEDED(hr)) hr = bitmap->SetSize(shown.Width, shown.Height);
    if (SUCCEEDED(hr)) hr = bitmap->WriteSource(source, &shown);
    if (SUCCEEDED(hr)) hr = bitmap->Commit();
    if (SUCCEEDED(hr)) hr = encoder->Commit();
    return hr;
}

// Wine's desktop paints BMP pictures only: every picture the system's codecs
// read goes on as the BMP in the cache folder beside this library; any other
// file goes on as it is.
std::wstring AsBitmap(const std::wstring& path, DWORD style)
{
    ComPtr<IWICImagingFactory> codecs;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICBitmapSource> pixels;
    const std::wstring cached = BesideSelf(L"cache\\wallpaper.bmp");
    ::CreateDirectoryW(BesideSelf(L"cache").c_str(), nullptr);
    HRESULT hr = ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                    reinterpret_cast<void**>(codecs.Put()));
    if (SUCCEEDED(hr))
        hr = codecs->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                               decoder.Put());
    if (SUCCEEDED(hr)) hr = decoder->GetFrame(0, frame.Put());
    if (SUCCEEDED(hr)) hr = ::WICConvertBitmapSource(GUID_WICPixelFormat32bppBGR, frame.Get(), pixels.Put());
    if (SUCCEEDED(hr)) hr = WriteShown(codecs.Get(), pixels.Get(), style, cached);
    return SUCCEEDED(hr) ? cached : path;
}

class Desktop final : public ActiveDesktopBase {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override
    {
        if (object == nullptr) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IActiveDesktop) {
            *object = static_cast<IActiveDesktop*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ::InterlockedIncrement(&references); }
    STDMETHODIMP_(ULONG) Release() override
    {
        const LONG left = ::InterlockedDecrement(&references);
        if (left == 0) delete this;
        return left;
    }

    STDMETHODIMP SetWallpaper(PCWSTR path, DWORD) override
    {
        wallpaper = path ? path : L"";
        Log(L"SetWallpaper", wallpaper.c_str());
        return S_OK;
    }
    STDMETHODIMP SetWallpaperOptions(LPCWALLPAPEROPT options, DWORD) override
    {
        if (options == nullptr) return E_INVALIDARG;
        style = options->dwStyle;
        wchar_t detail[64];
        std::swprintf(detail, 64, L"%lu %lu", options->dwSize, options->dwStyle);
        Log(L"SetWallpaperOptions", detail);
        return S_OK;
    }
    STDMETHODIMP ApplyChanges(DWORD flags) override
    {
        wchar_t detail[32];
        std::swprintf(detail, 32, L"%lu", flags);
        Log(L"ApplyChanges", detail);
        SetDesktopValue(L"TileWallpaper", style == WPSTYLE_TILE ? L"1" : L"0");
        SetDesktopValue(L"WallpaperStyle", style == WPSTYLE_STRETCH ? L"2" : L"0");
        std::wstring shown = AsBitmap(wallpaper, style);
        ::SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, shown.data(), SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
        return S_OK;
    }

private:
    LONG references = 1;
    std::wstring wallpaper;
    DWORD style = WPSTYLE_CENTER;
};

// The one factory of the library; it lives as long as the library does.
class Factory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override
    {
        if (object == nullptr) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *object = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** object) override
    {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        Desktop* desktop = new Desktop;
        const HRESULT result = desktop->QueryInterface(riid, object);
        desktop->Release();
        return result;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

Factory g_factory;

}  // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** object)
{
    if (clsid != CLSID_ActiveDesktop) return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(riid, object);
}

// The log's writer must stay loaded for the whole run.
extern "C" __declspec(dllexport) HRESULT WINAPI DllCanUnloadNow()
{
    return S_FALSE;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) g_self = instance;
    return TRUE;
}
