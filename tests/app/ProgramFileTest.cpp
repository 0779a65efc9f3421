#include "resources/resource.h"
#include "tests/support/TestFiles.h"
#include "win/CWindow.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

// The built lumivane.exe and ReadMe.txt beside this test program, read the
// way the file's properties, the about box and a user read them: every
// version shown is the project's, which the build alone hands to this test,
// and the ReadMe names what the program's menu and settings show.

namespace {

const std::wstring kVersion = L"" LUMI_PROJECT_VERSION;

std::wstring BesideTests(const wchar_t* name)
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring text(path);
    return text.substr(0, text.find_last_of(L'\\') + 1) + name;
}

std::wstring ProgramPath()
{
    return BesideTests(L"lumivane.exe");
}

// "1.5" as a version resource writes it: "1.5.0.0".
std::wstring FourParts(std::wstring version)
{
    constexpr int kParts = 4;
    for (int dots = static_cast<int>(std::count(version.begin(), version.end(), L'.')); dots < kParts - 1; ++dots) {
        version += L".0";
    }
    return version;
}

std::wstring Joined(DWORD high, DWORD low)
{
    return std::to_wstring(HIWORD(high)) + L"." + std::to_wstring(LOWORD(high)) + L"." + std::to_wstring(HIWORD(low)) +
           L"." + std::to_wstring(LOWORD(low));
}

// Latin letters, digits and marks, or Chinese: a text that survived the
// resource compiler's code page.
bool ReadsRight(const std::wstring& text)
{
    constexpr wchar_t kLastAscii = 0x7E;
    constexpr wchar_t kCopyright = 0xA9;
    constexpr wchar_t kFirstHan = 0x4E00;
    constexpr wchar_t kLastHan = 0x9FFF;
    if (text.empty()) return false;
    for (wchar_t c : text) {
        if (!(c <= kLastAscii || c == kCopyright || (c >= kFirstHan && c <= kLastHan))) return false;
    }
    return true;
}

class ProgramFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        module = ::LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, module) << Narrow(ProgramPath()) << ": error " << ::GetLastError();
    }
    void TearDown() override
    {
        if (module != nullptr) ::FreeLibrary(module);
    }

    HMODULE module = nullptr;
};

INT_PTR CALLBACK IgnoreAll(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

}  // namespace

TEST_F(ProgramFile, VersionResourceCarriesTheProjectVersion)
{
    const std::wstring path = ProgramPath();
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_NE(0u, size) << "no version resource, error " << ::GetLastError();
    std::string info(size, '\0');
    ASSERT_TRUE(::GetFileVersionInfoW(path.c_str(), 0, size, &info[0]));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(Narrow(FourParts(kVersion)), Narrow(Joined(fixed->dwFileVersionMS, fixed->dwFileVersionLS)));
    EXPECT_EQ(Narrow(FourParts(kVersion)), Narrow(Joined(fixed->dwProductVersionMS, fixed->dwProductVersionLS)));
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);

    const WORD* translation = nullptr;
    ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                                 reinterpret_cast<void**>(const_cast<WORD**>(&translation)), &length));
    ASSERT_GE(length, 2 * sizeof(WORD));
    EXPECT_EQ(MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), translation[0]);
    const auto value = [&](const std::wstring& name) {
        wchar_t key[64] = {};
        swprintf(key, 64, L"\\StringFileInfo\\%04x%04x\\%ls", translation[0], translation[1], name.c_str());
        wchar_t* text = nullptr;
        UINT chars = 0;
        return ::VerQueryValueW(info.data(), key, reinterpret_cast<void**>(&text), &chars) && text != nullptr
                   ? std::wstring(text)
                   : std::wstring();
    };
    EXPECT_EQ(Narrow(kVersion), Narrow(value(L"ProductVersion")));
    EXPECT_EQ(Narrow(FourParts(kVersion)), Narrow(value(L"FileVersion")));
    EXPECT_EQ("Lumivane", Narrow(value(L"ProductName")));
    EXPECT_EQ("lumivane.exe", Narrow(value(L"OriginalFilename")));
    EXPECT_TRUE(ReadsRight(value(L"FileDescription"))) << Narrow(value(L"FileDescription"));
    EXPECT_TRUE(ReadsRight(value(L"LegalCopyright"))) << Narrow(value(L"LegalCopyright"));
}

TEST_F(ProgramFile, AboutBoxAndManifestCarryTheProjectVersion)
{
    HWND box = ::CreateDialogParamW(module, MAKEINTRESOURCEW(IDD_ABOUT), nullptr, IgnoreAll, 0);
    ASSERT_NE(nullptr, box) << "error " << ::GetLastError();
    std::wstring texts;
    for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        texts += L"[" + CWindow(child).GetText() + L"]";
    }
    ::DestroyWindow(box);
    EXPECT_NE(std::wstring::npos, texts.find(L"[Lumivane " + kVersion + L"]")) << Narrow(texts);

    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(nullptr, found);
    const std::string manifest(static_cast<const char*>(::LockResource(::LoadResource(module, found))),
                               ::SizeofResource(module, found));
    const std::string identity = "name=\"Lumivane\" version=\"" + Narrow(FourParts(kVersion)) + "\"";
    EXPECT_NE(std::string::npos, manifest.find(identity)) << manifest;
}

TEST_F(ProgramFile, ReadMeNamesEveryMenuCommandAndSetting)
{
    const std::string bytes = ReadBytes(BesideTests(L"ReadMe.txt"));
    const std::string bom = "\xEF\xBB\xBF";
    ASSERT_EQ(bom, bytes.substr(0, bom.size())) << "Notepad needs the BOM to read UTF-8";
    size_t bareLineEnds = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) ++bareLineEnds;
    }
    EXPECT_EQ(0u, bareLineEnds) << "Notepad before Windows 10 needs CR LF";
    std::wstring readMe(bytes.size(), L'\0');
    readMe.resize(::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data() + bom.size(),
                                        static_cast<int>(bytes.size() - bom.size()), &readMe[0],
                                        static_cast<int>(readMe.size())));
    ASSERT_FALSE(readMe.empty()) << "not UTF-8";

    std::vector<std::wstring> shown;
    HMENU menu = ::LoadMenuW(module, MAKEINTRESOURCEW(IDR_TRAYMENU));
    ASSERT_NE(nullptr, menu);
    HMENU popup = ::GetSubMenu(menu, 0);
    for (int i = 0; i < ::GetMenuItemCount(popup); ++i) {
        wchar_t text[64] = {};
        if (::GetMenuStringW(popup, i, text, 64, MF_BYPOSITION) > 0) shown.push_back(text);
    }
    ::DestroyMenu(menu);
    for (UINT id : {IDS_START, IDS_CENTER, IDS_TILE, IDS_STRETCH}) {
        wchar_t text[64] = {};
        ::LoadStringW(module, id, text, 64);
        shown.push_back(text);
    }
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS};
    ::InitCommonControlsEx(&controls);
    HWND settings = ::CreateDialogParamW(module, MAKEINTRESOURCEW(IDD_SETTINGS), nullptr, IgnoreAll, 0);
    ASSERT_NE(nullptr, settings) << "error " << ::GetLastError();
    for (HWND child = ::GetWindow(settings, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const std::wstring text = CWindow(child).GetText();
        if (!text.empty()) shown.push_back(text);
    }
    ::DestroyWindow(settings);
    for (const wchar_t* name : {L"%APPDATA%\\Lumivane", L"lumi.ini", L"wallpaper.txt"}) shown.push_back(name);

    ASSERT_GT(shown.size(), 20u);
    for (const std::wstring& text : shown) {
        EXPECT_NE(std::wstring::npos, readMe.find(text)) << "ReadMe.txt does not name " << Narrow(text);
    }
}
