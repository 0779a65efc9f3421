#include "engine/CWallpaperApp.h"
#include "engine/DesktopCover.h"
#include "engine/FolderScan.h"
#include "tests/support/FakeActiveDesktop.h"
#include "tests/support/RecordingTimer.h"
#include "tests/support/TestFiles.h"
#include "win/PathChars.h"
#include "win/UniqueHandle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const wchar_t kSinkClass[] = L"LumivaneTestOwner";
const wchar_t kCoverClass[] = L"LumivaneTestCover";

// The controller's owner: counts the change notifications it is posted.
LRESULT CALLBACK SinkProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PICTURE_CHANGED) {
        auto* count = reinterpret_cast<int*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (count) ++*count;
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND CreateTopLevel(const wchar_t* className)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &SinkProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = className;
    ::RegisterClassExW(&wc);
    return ::CreateWindowExW(0, className, L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 150, nullptr, nullptr, wc.hInstance,
                             nullptr);
}

// The one window a test says is cloaked.
HWND g_cloaked = nullptr;
bool IsTheCloakedWindow(HWND window)
{
    return window == g_cloaked;
}

std::string Lines(const std::vector<std::wstring>& paths)
{
    std::string bytes;
    for (const std::wstring& path : paths) bytes += Narrow(path) + "\r\n";
    return bytes;
}

class CWallpaperAppTest : public testing::Test {
protected:
    void SetUp() override
    {
        ::CreateDirectoryW(DataFolderReset::Folder().c_str(), nullptr);
        owner.Reset(CreateTopLevel(kSinkClass));
        ::SetWindowLongPtrW(owner.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&notifications));
    }

    std::wstring Picture(const wchar_t* name)
    {
        const std::wstring path = pictures.Join(name);
        WriteBytes(path, "picture");
        return path;
    }

    std::wstring FolderTime()
    {
        int64_t modified = 0;
        EXPECT_TRUE(QueryFolderTime(pictures.Path(), modified));
        return std::to_wstring(static_cast<int32_t>(modified));
    }

    // lumi.ini naming the picture folder with the given stored time.
    void WriteConfig(const std::wstring& time, const std::string& general = "")
    {
        const std::string ini = "[GENERAL]\r\npathcount=1\r\n" + general + "[1]\r\npath=" + Narrow(pictures.Path()) +
                                "\r\ntime=" + Narrow(time) + "\r\n";
        WriteBytes(IniFile(), ini);
    }

    void Initialize() { folders = app.Initialize(owner.Get()); }

    static std::wstring IniFile() { return DataFolderReset::File(L"lumi.ini"); }
    static std::wstring ListFile() { return DataFolderReset::File(L"wallpaper.txt"); }

    std::wstring IniValue(const wchar_t* section, const wchar_t* key)
    {
        wchar_t text[kPathChars] = {};
        ::GetPrivateProfileStringW(section, key, L"(missing)", text, kPathChars, IniFile().c_str());
        return text;
    }

    DataFolderReset reset;
    TempDir pictures;
    FakeActiveDesktop desktop;
    UniqueWindow owner;
    int notifications = 0;
    int folders = -1;
    RecordingTimer timer;
    CWallpaperApp app{[this](CWallpaperPlayer& player) { player.InitWith(ComPtr<IActiveDesktop>(desktop.Share())); },
                      timer};
};

TEST_F(CWallpaperAppTest, FirstRunWritesDefaultsAndAnEmptyList)
{
    Initialize();
    EXPECT_EQ(0, folders);
    EXPECT_EQ(0, app.GetCount());
    EXPECT_FALSE(app.IsPaused());
    EXPECT_EQ(L"0", IniValue(L"GENERAL", L"pathcount"));
    EXPECT_EQ(L"15", IniValue(L"GENERAL", L"playinterval"));
    ASSERT_TRUE(FileIsThere(ListFile()));
    EXPECT_EQ("", ReadBytes(ListFile()));
    EXPECT_TRUE(desktop.calls.empty());
    EXPECT_NE(nullptr, app.GetHandle());
    EXPECT_FALSE(::IsWindowVisible(app.GetHandle()));
}

TEST_F(CWallpaperAppTest, UnchangedFoldersReloadTheListWithoutScanning)
{
    Picture(L"a.jpg");
    WriteConfig(FolderTime());
    const std::string list = "C:\\Listed\\x.jpg\r\nC:\\Listed\\y.jpg\r\n";
    WriteBytes(ListFile(), list);

    Initialize();
    EXPECT_EQ(1, folders);
    ASSERT_EQ(2, app.GetCount());
    EXPECT_EQ(list, ReadBytes(ListFile()));
    EXPECT_EQ(-1, app.GetPosition());
}

TEST_F(CWallpaperAppTest, ChangedFolderRebuildsAndStampsItsTime)
{
    const std::wstring a = Picture(L"a.jpg");
    const std::wstring current = FolderTime();
    const std::wstring older = std::to_wstring(std::stoi(current) - 1);
    for (const std::wstring& stored : {std::wstring(L""), std::wstring(L"never"), older}) {
        DataFolderReset fresh;
        ::CreateDirectoryW(DataFolderReset::Folder().c_str(), nullptr);
        WriteConfig(stored);
        WriteBytes(ListFile(), "C:\\Stale\\old.jpg\r\n");

        CWallpaperApp other{[this](CWallpaperPlayer& p) { p.InitWith(ComPtr<IActiveDesktop>(desktop.Share())); }};
        other.Initialize(owner.Get());
        EXPECT_EQ(1, other.GetCount()) << "stored time " << Narrow(stored);
        EXPECT_EQ(Lines({a}), ReadBytes(ListFile())) << "stored time " << Narrow(stored);
        EXPECT_EQ(current, IniValue(L"1", L"time")) << "stored time " << Narrow(stored);
    }
}

TEST_F(CWallpaperAppTest, LastPictureIsRestoredWithoutBeingShown)
{
    const std::wstring a = Picture(L"a.jpg");
    const std::wstring b = Picture(L"b.jpg");
    WriteConfig(FolderTime(), "lastpic=" + Narrow(b) + "\r\n");
    WriteBytes(ListFile(), Lines({a, b}));

    Initialize();
    EXPECT_EQ(1, app.GetPosition());
    EXPECT_TRUE(desktop.calls.empty());

    app.Start();
    ASSERT_EQ(1u, desktop.Shown().size());
    EXPECT_EQ(a, desktop.Shown()[0]) << "the picture after the last one wraps to the first";
}

TEST_F(CWallpaperAppTest, EveryChangeNotifiesTheOwnerEvenWithAnEmptyList)
{
    Initialize();
    app.Next();
    app.Previous();
    PumpMessages(50);
    EXPECT_EQ(2, notifications);
    EXPECT_TRUE(desktop.calls.empty());
}

// The build puts a dwmapi.dll beside this program (PlantedDwmapi.cpp) that
// marks the process loading it, as a planted copy beside the real one would run.
TEST(DesktopCover, AsksOnlyTheSystemFoldersDwmapi)
{
    (void)IsWindowCloaked(::GetDesktopWindow());
    EXPECT_NE(nullptr, ::GetModuleHandleW(L"dwmapi.dll"));
    EXPECT_EQ(0u, ::GetEnvironmentVariableW(L"LUMI_PLANTED_DLL", nullptr, 0)) << "the program's folder's copy ran";
}

TEST_F(CWallpaperAppTest, TicksAreSkippedWhileAMaximizedWindowIsVisible)
{
    const std::wstring a = Picture(L"a.jpg");
    WriteConfig(FolderTime());
    WriteBytes(ListFile(), Lines({a}));
    Initialize();

    UniqueWindow cover(CreateTopLevel(kCoverClass));
    ::ShowWindow(cover.Get(), SW_SHOWMAXIMIZED);
    PumpMessages(50);
    ASSERT_TRUE(::IsZoomed(cover.Get()));
    ::SendMessageW(app.GetHandle(), WM_TIMER, CWallpaperApp::kChangeTimerId, 0);
    EXPECT_TRUE(desktop.calls.empty()) << "a tick while a maximized window is visible";
    g_cloaked = cover.Get();
    EXPECT_FALSE(IsDesktopCovered(&IsTheCloakedWindow)) << "a cloaked window covers nothing";
    g_cloaked = nullptr;
    EXPECT_TRUE(IsDesktopCovered(&IsTheCloakedWindow));

    app.Next();
    EXPECT_EQ(1u, desktop.Shown().size()) << "commands act whatever covers the desktop";

    ::ShowWindow(cover.Get(), SW_SHOWMINIMIZED);
    PumpMessages(50);
    ::SendMessageW(app.GetHandle(), WM_TIMER, CWallpaperApp::kChangeTimerId, 0);
    EXPECT_EQ(2u, desktop.Shown().size()) << "a minimized window covers nothing";

    ::ShowWindow(cover.Get(), SW_SHOWMAXIMIZED);
    ::ShowWindow(cover.Get(), SW_HIDE);
    PumpMessages(50);
    ASSERT_TRUE(::IsZoomed(cover.Get()));
    EXPECT_FALSE(::IsWindowVisible(cover.Get()));
    ::SendMessageW(app.GetHandle(), WM_TIMER, CWallpaperApp::kChangeTimerId, 0);
    EXPECT_EQ(3u, desktop.Shown().size()) << "a hidden maximized window covers nothing";

    ::SendMessageW(app.GetHandle(), WM_TIMER, CWallpaperApp::kChangeTimerId + 1, 0);
    EXPECT_EQ(3u, desktop.Shown().size()) << "another timer id is not the change timer";
}

TEST_F(CWallpaperAppTest, TimerChangesPicturesUntilPaused)
{
    const std::wstring a = Picture(L"a.jpg");
    const std::wstring b = Picture(L"b.jpg");
    WriteConfig(FolderTime(), "playinterval=1\r\n");
    WriteBytes(ListFile(), Lines({a, b}));
    Initialize();

    app.Start();
    PumpMessages(1500);
    EXPECT_EQ((std::vector<std::wstring>{a, b}), desktop.Shown());
    EXPECT_EQ(0, app.GetConf().state);

    app.Pause();
    EXPECT_TRUE(app.IsPaused());
    EXPECT_EQ(1, app.GetConf().state);
    EXPECT_EQ((std::vector<std::wstring>{ArmedFor(1), L"stop"}), timer.calls);
}

TEST_F(CWallpaperAppTest, AnIntervalOfZeroDoesNotFloodTheDesktop)
{
    const std::wstring a = Picture(L"a.jpg");
    WriteConfig(FolderTime(), "playinterval=0\r\n");
    WriteBytes(ListFile(), Lines({a}));
    Initialize();

    app.Start();
    EXPECT_EQ(1u, desktop.Shown().size());
    EXPECT_EQ((std::vector<std::wstring>{ArmedFor(kMinIntervalSeconds)}), timer.calls);
    EXPECT_EQ(0, app.GetConf().playinterval) << "the stored value stays as entered";
}

TEST_F(CWallpaperAppTest, ClearingTheDesktopPausesAndKeepsThePosition)
{
    const std::wstring a = Picture(L"a.jpg");
    const std::wstring b = Picture(L"b.jpg");
    const std::wstring c = Picture(L"c.jpg");
    WriteConfig(FolderTime());
    WriteBytes(ListFile(), Lines({a, b, c}));
    Initialize();

    app.Next();
    app.Next();
    app.ClearDesktop();
    EXPECT_TRUE(app.IsPaused());
    EXPECT_EQ(1, app.GetConf().state);
    EXPECT_EQ(1, app.GetPosition());

    app.Start();
    EXPECT_EQ(c, desktop.LastShown()) << "start shows the picture after the one that was current";
    EXPECT_EQ(0, app.GetConf().state);
}

TEST_F(CWallpaperAppTest, ClearingTheDesktopRemovesTheWallpaper)
{
    const wchar_t desktopKey[] = L"Control Panel\\Desktop";
    const wchar_t before[] = L"C:\\before.bmp";
    ::RegSetKeyValueW(HKEY_CURRENT_USER, desktopKey, L"Wallpaper", REG_SZ, before, sizeof(before));
    Initialize();

    app.ClearDesktop();
    wchar_t value[kPathChars] = {};
    DWORD bytes = sizeof(value);
    ASSERT_EQ(ERROR_SUCCESS,
              ::RegGetValueW(HKEY_CURRENT_USER, desktopKey, L"Wallpaper", RRF_RT_REG_SZ, nullptr, value, &bytes));
    EXPECT_STREQ(L"", value);
}

TEST_F(CWallpaperAppTest, OnlyANewIntervalRestartsTheTimerWhilePlaying)
{
    const std::wstring a = Picture(L"a.jpg");
    const std::wstring b = Picture(L"b.jpg");
    WriteConfig(FolderTime(), "playinterval=3600\r\n");
    WriteBytes(ListFile(), Lines({a, b}));
    Initialize();
    app.Start();

    timer.calls.clear();

    CConf same = app.GetConf();
    same.style = Stretch;
    app.ApplySettings(same);
    EXPECT_TRUE(timer.calls.empty()) << "settings with the same interval and folders keep the countdown";

    CConf edited = app.GetConf();
    edited.playinterval = 1;
    app.ApplySettings(edited);
    EXPECT_EQ((std::vector<std::wstring>{ArmedFor(1)}), timer.calls);
    EXPECT_EQ(1u, desktop.Shown().size()) << "new settings show no picture by themselves";
}

TEST_F(CWallpaperAppTest, SettingsWhilePausedArmNoTimer)
{
    const std::wstring a = Picture(L"a.jpg");
    WriteConfig(FolderTime(), "state=1\r\n");
    WriteBytes(ListFile(), Lines({a}));
    Initialize();
    ASSERT_TRUE(app.IsPaused());

    CConf edited = app.GetConf();
    edited.playinterval = 1;
    app.ApplySettings(edited);
    EXPECT_TRUE(timer.calls.empty());
    EXPECT_TRUE(desktop.calls.empty());
    EXPECT_EQ(1, app.GetConf().playinterval);
}

TEST_F(CWallpaperAppTest, OnlyADifferentFolderListRescans)
{
    TempDir second;
    WriteBytes(second.Join(L"z.png"), "picture");
    const std::wstring a = Picture(L"a.jpg");
    WriteConfig(FolderTime());
    WriteBytes(ListFile(), Lines({a}));
    Initialize();

    CConf caseOnly = app.GetConf();
    for (wchar_t& ch : caseOnly.folders[0].path) ch = static_cast<wchar_t>(::towupper(ch));
    app.ApplySettings(caseOnly);
    ::DeleteFileW(ListFile().c_str());
    app.SaveState();
    EXPECT_FALSE(FileIsThere(ListFile())) << "a change of letter case is the same folder";
    // The edited spelling is taken over and scanned from now on.
    const std::wstring upperA = caseOnly.folders[0].path + L"\\a.jpg";

    CConf reordered = app.GetConf();
    reordered.folders.insert(reordered.folders.begin(), CFolderEntry{second.Path(), L"", false});
    app.ApplySettings(reordered);
    app.SaveState();
    EXPECT_EQ(Lines({second.Join(L"z.png"), upperA}), ReadBytes(ListFile()));
    EXPECT_EQ(L"2", IniValue(L"GENERAL", L"pathcount"));

    std::swap(reordered.folders[0], reordered.folders[1]);
    app.ApplySettings(reordered);
    app.SaveState();
    EXPECT_EQ(Lines({upperA, second.Join(L"z.png")}), ReadBytes(ListFile())) << "the same folders in another order";
}

TEST_F(CWallpaperAppTest, FoldersThatOnlyLookAlikeAreDifferentFolders)
{
    const std::string upper = Narrow(pictures.Path()) + "\\STRASSE";
    WriteBytes(IniFile(), "[GENERAL]\r\npathcount=1\r\n[1]\r\npath=" + upper + "\r\n");
    Initialize();
    ::DeleteFileW(ListFile().c_str());

    CConf edited = app.GetConf();
    edited.folders[0].path = pictures.Path() + L"\\Stra\u00dfe";
    app.ApplySettings(edited);
    app.SaveState();
    EXPECT_TRUE(FileIsThere(ListFile())) << "another folder means a rescan, and the list is written";
}

TEST_F(CWallpaperAppTest, DeletingAPictureRemovesItEverywhereAndNotifies)
{
    const std::wstring a = Picture(L"a.jpg");
    const std::wstring b = Picture(L"b.jpg");
    WriteConfig(FolderTime());
    WriteBytes(ListFile(), Lines({a, b}));
    Initialize();
    app.Next();
    PumpMessages(20);
    notifications = 0;

    app.DeletePicture(app.GetPosition());
    PumpMessages(20);
    EXPECT_FALSE(FileIsThere(a));
    EXPECT_EQ(1, app.GetCount());
    EXPECT_EQ(b, desktop.LastShown());
    EXPECT_EQ(Lines({b}), ReadBytes(ListFile()));
    EXPECT_EQ(b, IniValue(L"GENERAL", L"lastpic"));
    EXPECT_EQ(1, notifications);

    app.DeletePicture(5);
    PumpMessages(20);
    EXPECT_EQ(1, notifications) << "a rejected position changes nothing";
}

TEST_F(CWallpaperAppTest, WhatCouldNotBeSavedIsSavedAtTheNextSave)
{
    const std::wstring a = Picture(L"a.jpg");
    // A folder in a file's place makes every write of that file fail.
    for (const std::wstring& blocked : {ListFile(), IniFile() + L".tmp"}) {
        SCOPED_TRACE(Narrow(blocked));
        WriteConfig(L"");
        ::CreateDirectoryW(blocked.c_str(), nullptr);
        CWallpaperApp saver{[this](CWallpaperPlayer& p) { p.InitWith(ComPtr<IActiveDesktop>(desktop.Share())); }};
        saver.Initialize(owner.Get());
        ASSERT_EQ(1, saver.GetCount());
        EXPECT_FALSE(saver.SaveState());
        EXPECT_EQ(L"", IniValue(L"1", L"time")) << "no folder time vouches for a list that is not on disk";

        ::RemoveDirectoryW(blocked.c_str());
        EXPECT_TRUE(saver.SaveState());
        EXPECT_EQ(Lines({a}), ReadBytes(ListFile()));
        EXPECT_EQ(FolderTime(), IniValue(L"1", L"time"));
        ::DeleteFileW(ListFile().c_str());
    }
}

TEST_F(CWallpaperAppTest, AListThatCouldNotBeReplacedIsNotTrustedAtTheNextStart)
{
    const std::wstring a = Picture(L"a.jpg");
    WriteConfig(L"");
    WriteBytes(ListFile(), "C:\\Stale\\old.jpg\r\n");
    {
        // Another program holds the old list open, so it cannot be replaced.
        UniqueFile held(::CreateFileW(ListFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held.IsValid());
        Initialize();
        app.Shutdown();
    }
    ASSERT_EQ("C:\\Stale\\old.jpg\r\n", ReadBytes(ListFile()));

    CWallpaperApp next{[this](CWallpaperPlayer& p) { p.InitWith(ComPtr<IActiveDesktop>(desktop.Share())); }};
    next.Initialize(owner.Get());
    ASSERT_EQ(1, next.GetCount());
    next.Next();
    EXPECT_EQ(a, desktop.LastShown()) << "the next start rebuilt the list instead of playing the old one";
}

TEST_F(CWallpaperAppTest, ShutdownSavesAndMayRunTwice)
{
    Initialize();
    app.Pause();
    app.Shutdown();
    EXPECT_EQ(nullptr, app.GetHandle());
    EXPECT_EQ(L"1", IniValue(L"GENERAL", L"state"));
    ::DeleteFileW(IniFile().c_str());
    app.Shutdown();
    EXPECT_EQ(L"1", IniValue(L"GENERAL", L"state")) << "the second run saves again";
}

}  // namespace
