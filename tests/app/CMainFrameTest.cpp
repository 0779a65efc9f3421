#include "app/CMainFrame.h"
#include "app/CMessageLoop.h"
#include "app/RunApp.h"
#include "resources/resource.h"
#include "tests/app/NotifyRecorder.h"
#include "tests/support/FakeActiveDesktop.h"
#include "tests/support/RecordingTimer.h"
#include "tests/support/TestFiles.h"
#include "win/AppMessages.h"
#include "win/CWindow.h"
#include "win/DecimalText.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <shlwapi.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

// Stands in for the settings dialog: remembers how it was opened and ends as
// the test says, after doing what the test gives it to do meanwhile.
struct FakeSettings {
    CMainFrame::SettingsOutcome Run(HWND owner, const CConf& conf, const std::wstring& current)
    {
        owners.push_back(owner);
        seenPicture = current;
        trayCallsBefore = recorder ? recorder->Calls().size() : 0;
        if (whileOpen) whileOpen(owner);
        CMainFrame::SettingsOutcome outcome{accept, conf};
        if (edit) edit(outcome.conf);
        return outcome;
    }

    bool accept = false;
    std::function<void(CConf&)> edit;
    std::function<void(HWND)> whileOpen;
    const NotifyRecorder* recorder = nullptr;
    std::vector<HWND> owners;
    std::wstring seenPicture;
    size_t trayCallsBefore = 0;
};

std::wstring IniValue(const wchar_t* section, const wchar_t* key)
{
    wchar_t text[MAX_PATH] = {};
    ::GetPrivateProfileStringW(section, key, L"(missing)", text, MAX_PATH, DataFolderReset::File(L"lumi.ini").c_str());
    return text;
}

std::string Image(HICON icon);
std::string ResourceImage(UINT id, int width = SM_CXSMICON, int height = SM_CYSMICON);

// The frame, with the hook that adjusts its tray menu in reach.
struct MenuFrame : CMainFrame {
    using CMainFrame::CMainFrame;
    using CMainFrame::CustomizeMenu;
};

// The pause/start label the tray menu would show now.
std::wstring PauseLabel(MenuFrame& frame)
{
    UniqueMenu menu(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TRAYMENU)));
    HMENU popup = ::GetSubMenu(menu.Get(), 0);
    frame.CustomizeMenu(popup);
    wchar_t text[64] = {};
    ::GetMenuStringW(popup, ID_PAUSE_START, text, 64, MF_BYCOMMAND);
    return text;
}

// Each frame gets a data folder of its own, a recording desktop and a settings
// stand-in, so no test touches the real desktop or waits on a modal dialog.
struct FrameParts {
    CMainFrame::SettingsRunner Settings()
    {
        return [this](HWND owner, const CConf& conf, const std::wstring& current) {
            return settings.Run(owner, conf, current);
        };
    }
    CWallpaperApp::PlayerInit Desktop()
    {
        return [this](CWallpaperPlayer& player) { player.InitWith(ComPtr<IActiveDesktop>(desktop.Share())); };
    }

    // The first start, answered with a folder of three pictures and a
    // one-second interval; the frame then plays from the first picture.
    HWND StartWithPictures(CMainFrame& frame)
    {
        for (const wchar_t* name : {L"a.bmp", L"b.bmp", L"c.bmp"}) WriteBytes(pictures.Join(name), "picture");
        settings.accept = true;
        settings.edit = [this](CConf& conf) {
            conf.folders.push_back(CFolderEntry{pictures.Path(), L"", false});
            conf.playinterval = 1;
        };
        HWND window = frame.StartFrame();
        settings.edit = nullptr;
        settings.accept = false;
        return window;
    }

    DataFolderReset data;
    TempDir pictures;
    FakeActiveDesktop desktop;
    FakeSettings settings;
};

void Command(HWND window, UINT id)
{
    ::SendMessageW(window, WM_COMMAND, id, 0);
    PumpMessages(20);
}

std::wstring LastTip(const NotifyRecorder& shell)
{
    for (auto call = shell.Calls().rbegin(); call != shell.Calls().rend(); ++call) {
        if (call->data.uFlags & NIF_TIP) return call->data.szTip;
    }
    return L"(no tip)";
}

// A frame's end posts the quit message; left in the queue it would end the
// next test's message loop at once. Declared before the frame, so it goes after it.
struct QuitDrain {
    ~QuitDrain()
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
};

// A frame talking to a recorder instead of the shell.
struct FrameFixture : ::testing::Test, FrameParts {
    FrameFixture() { frame.SetNotifyIconFunctionForTesting(&NotifyRecorder::Notify); }

    void SetUp() override { settings.recorder = &shell; }

    NotifyRecorder shell;
    QuitDrain drain;
    MenuFrame frame{Desktop(), Settings()};
};

// The same, with a frame object the test can end before the fixture does.
struct EndingFrameFixture : ::testing::Test, FrameParts {
    EndingFrameFixture()
    {
        frame.emplace(Desktop(), Settings());
        frame->SetNotifyIconFunctionForTesting(&NotifyRecorder::Notify);
        settings.recorder = &shell;
    }
    ~EndingFrameFixture() override
    {
        frame.reset();
        QuitDrain();
    }

    NotifyRecorder shell;
    std::optional<CMainFrame> frame;
};

}  // namespace

using CMainFrameTest = FrameFixture;

TEST_F(CMainFrameTest, StartsAHiddenWindowOfTheProgramsClass)
{
    HWND window = frame.StartFrame();
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(L"lumivane", CWindow(window).GetWindowClass());
    EXPECT_EQ(L"Lumivane", CWindow(window).GetText());
    // What a user could notice of the frame: nothing on screen, no menu, owned by no window.
    EXPECT_FALSE(::IsWindowVisible(window));
    EXPECT_EQ(nullptr, ::GetParent(window));
    EXPECT_EQ(nullptr, ::GetMenu(window));
}

TEST_F(CMainFrameTest, ClassCarriesALargeAndASmallIcon)
{
    HWND window = frame.StartFrame();
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(0u, static_cast<UINT>(::GetClassLongPtrW(window, GCL_STYLE)));
    const auto icon = [=](int index) { return Image(reinterpret_cast<HICON>(::GetClassLongPtrW(window, index))); };
    EXPECT_TRUE(icon(GCLP_HICON) == ResourceImage(IDR_FRAME, SM_CXICON, SM_CYICON)) << "not the large icon's size";
    EXPECT_TRUE(icon(GCLP_HICONSM) == ResourceImage(IDR_FRAME)) << "not the small icon's size";
    // A rerun at another scaling fails if its prefix did not take it.
    if (const wchar_t* required = _wgetenv(L"LUMI_REQUIRE_SMALL_ICON")) {
        EXPECT_EQ(_wtoi(required), ::GetSystemMetrics(SM_CXSMICON));
    }
}

TEST_F(CMainFrameTest, CreationPutsTheIconInTheTray)
{
    ASSERT_NE(nullptr, frame.StartFrame());
    ASSERT_EQ(1u, shell.Calls().size());
    const NotifyCall& add = shell.Calls()[0];
    EXPECT_EQ(static_cast<DWORD>(NIM_ADD), add.message) << NotifyName(add.message);
    EXPECT_EQ(static_cast<UINT>(IDR_TRAYMENU), add.data.uID);
    EXPECT_NE(nullptr, add.data.hIcon) << "no state icon";
    EXPECT_EQ(std::wstring(L"Lumivane"), add.data.szTip);
}

TEST_F(CMainFrameTest, TaskbarCreatedAddsTheIconAgain)
{
    HWND window = frame.StartFrame();
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(0, ::SendMessageW(window, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0));

    ASSERT_EQ(2u, shell.Calls().size());
    const NotifyCall& again = shell.Calls()[1];
    EXPECT_EQ(static_cast<DWORD>(NIM_ADD), again.message) << NotifyName(again.message);
    EXPECT_EQ(shell.Calls()[0].data.hIcon, again.data.hIcon);
    EXPECT_EQ(std::wstring(shell.Calls()[0].data.szTip), again.data.szTip);
}

using CMainFrameLife = EndingFrameFixture;

TEST_F(CMainFrameLife, AFailedAddKeepsTheFrameRunningWithNothingToRemove)
{
    shell.SetResult(FALSE);
    HWND window = frame->StartFrame();
    ASSERT_NE(nullptr, window) << "the frame gave up without a tray";
    EXPECT_FALSE(frame->IsAddedForTesting());
    EXPECT_FALSE(frame->RemoveFromTray());
    frame.reset();
    ASSERT_EQ(1u, shell.Calls().size()) << "the shell saw: " << shell.Messages();
}

// As when another program broadcasts "TaskbarCreated" while the shell still
// shows the icon: the shell refuses the second add.
TEST_F(CMainFrameLife, TaskbarCreatedOverTheShownIconUpdatesItAndItIsStillDeletedAtTheEnd)
{
    HWND window = frame->StartFrame();
    ASSERT_NE(nullptr, window);
    shell.SetResultFor(NIM_ADD, FALSE);
    EXPECT_EQ(0, ::SendMessageW(window, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0));

    ASSERT_EQ(3u, shell.Calls().size());
    EXPECT_EQ(static_cast<DWORD>(NIM_ADD), shell.Calls()[1].message) << NotifyName(shell.Calls()[1].message);
    const NOTIFYICONDATAW& added = shell.Calls()[0].data;
    const NotifyCall& update = shell.Calls()[2];
    EXPECT_EQ(static_cast<DWORD>(NIM_MODIFY), update.message) << NotifyName(update.message);
    EXPECT_EQ(static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP), update.data.uFlags);
    EXPECT_EQ(added.hWnd, update.data.hWnd);
    EXPECT_EQ(added.uID, update.data.uID);
    EXPECT_EQ(added.uCallbackMessage, update.data.uCallbackMessage);
    EXPECT_EQ(added.hIcon, update.data.hIcon);
    EXPECT_EQ(std::wstring(added.szTip), update.data.szTip);
    EXPECT_TRUE(frame->IsAddedForTesting()) << "the shown icon was given up";

    frame.reset();
    ASSERT_EQ(4u, shell.Calls().size()) << "no call at the end";
    EXPECT_EQ(static_cast<DWORD>(NIM_DELETE), shell.Calls()[3].message) << NotifyName(shell.Calls()[3].message);
    EXPECT_EQ(window, shell.Calls()[3].data.hWnd);
    EXPECT_EQ(static_cast<UINT>(IDR_TRAYMENU), shell.Calls()[3].data.uID);
}

TEST(CMainFrameEnd, ExitAndOutsideCloseEndTheLoopWithOneAndThenDeleteTheIcon)
{
    struct Case {
        const char* name;
        UINT msg;
        WPARAM wParam;
    } const cases[] = {
        {"exit command", WM_COMMAND, ID_APP_EXIT},
        {"WM_CLOSE", WM_CLOSE, 0},
    };
    for (const Case& c : cases) {
        FrameParts parts;
        NotifyRecorder shell;
        HWND window = nullptr;
        int result = -1;
        size_t callsBeforeEnd = 0;
        {
            CMessageLoop loop;
            CMainFrame frame(parts.Desktop(), parts.Settings());
            frame.SetNotifyIconFunctionForTesting(&NotifyRecorder::Notify);
            window = frame.StartFrame();
            ASSERT_NE(nullptr, window) << c.name;
            ::PostMessageW(window, c.msg, c.wParam, 0);
            result = loop.RunLoop();
            EXPECT_FALSE(::IsWindow(window)) << c.name;
            callsBeforeEnd = shell.Calls().size();
            for (const NotifyCall& call : shell.Calls()) {
                EXPECT_NE(static_cast<DWORD>(NIM_DELETE), call.message)
                    << c.name << ": the icon went before the frame object";
            }
        }
        EXPECT_EQ(1, result) << c.name;
        ASSERT_EQ(callsBeforeEnd + 1, shell.Calls().size()) << c.name;
        const NotifyCall& last = shell.Calls().back();
        EXPECT_EQ(static_cast<DWORD>(NIM_DELETE), last.message) << c.name << ": " << NotifyName(last.message);
        EXPECT_EQ(0u, last.data.uFlags) << c.name;
        EXPECT_TRUE(last.iconAlive) << c.name << ": the state icon was released before the tray icon went";
        EXPECT_EQ(window, last.data.hWnd) << c.name;
        EXPECT_EQ(static_cast<UINT>(IDR_TRAYMENU), last.data.uID) << c.name;
    }
}

namespace {
LRESULT CALLBACK RefuseCreation(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) return FALSE;
    return ::DefWindowProcW(window, msg, wParam, lParam);
}

// Puts a class named "lumivane" in place whose windows can never be created.
struct BlockedFrameClass {
    BlockedFrameClass()
    {
        ::UnregisterClassW(kFrameClassName, ::GetModuleHandleW(nullptr));
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &RefuseCreation;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kFrameClassName;
        registered = ::RegisterClassExW(&wc) != 0;
    }
    ~BlockedFrameClass() { ::UnregisterClassW(kFrameClassName, ::GetModuleHandleW(nullptr)); }
    bool registered;
};
}  // namespace

TEST(RunApp, ReturnsZeroWithoutRunningTheLoopWhenTheFrameCannotBeCreated)
{
    BlockedFrameClass blocked;
    ASSERT_TRUE(blocked.registered);
    // A quit message the loop would take at once, if it ran.
    ::PostQuitMessage(1);
    EXPECT_EQ(0, RunApp());
    MSG msg;
    EXPECT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the loop ran";
}

TEST_F(CMainFrameTest, ASecondCopyEndsAtOnceWithOneAndLeavesTheFirstAlone)
{
    HWND first = frame.StartFrame();
    ASSERT_NE(nullptr, first);
    PumpMessages(20);
    const size_t callsBefore = shell.Calls().size();

    // Were the copy not refused, its loop would take this at once and end
    // with the code, instead of running on for ever.
    constexpr int kLoopRan = 7;
    ::PostQuitMessage(kLoopRan);
    EXPECT_EQ(1, RunProcess(::GetModuleHandleW(nullptr)));
    MSG quit;
    EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "a loop ran";

    EXPECT_TRUE(::IsWindow(first));
    EXPECT_EQ(callsBefore, shell.Calls().size()) << "the second start touched the tray";
    MSG msg;
    EXPECT_FALSE(::PeekMessageW(&msg, first, 0, 0, PM_NOREMOVE)) << "the first frame got message " << msg.message;
}

TEST_F(CMainFrameTest, FirstStartAsksForFoldersBeforeAnyIconAndThenPlaysWithoutAnExtraStep)
{
    HWND window = StartWithPictures(frame);
    ASSERT_NE(nullptr, window);
    ASSERT_EQ(1u, settings.owners.size());
    EXPECT_EQ(window, settings.owners[0]);
    EXPECT_EQ(0u, settings.trayCallsBefore) << "the icon came before the settings";

    ASSERT_EQ(1u, desktop.Shown().size()) << Show(desktop.Shown());
    EXPECT_EQ(0, frame.AppForTesting().GetPosition());
    EXPECT_EQ(L"1", IniValue(L"GENERAL", L"pathcount")) << "the accepted settings were not saved";
    ASSERT_FALSE(shell.Calls().empty());
    const std::wstring name = ::PathFindFileNameW(desktop.Shown()[0].c_str());
    EXPECT_EQ(L"Lumivane - [0/3] - [" + name + L"]", std::wstring(shell.Calls()[0].data.szTip));
    EXPECT_EQ(L"暂停(&S)", PauseLabel(frame));
}

TEST_F(CMainFrameTest, SettingsFromTheMenuShowTheNextPictureOnlyWhenAcceptedWhilePlaying)
{
    HWND window = StartWithPictures(frame);
    ASSERT_NE(nullptr, window);
    Command(window, ID_NEXT_PICTURE);
    ASSERT_EQ(2u, desktop.Shown().size());
    const std::wstring folder = pictures.Path() + L"\\";

    // The dialog's go-to button, pressed while the dialog is open and the menu blocked;
    // the same request posted, or from another thread even with a bad pointer, is ignored.
    bool menuBlocked = false;
    settings.whileOpen = [&](HWND owner) {
        menuBlocked = !frame.IsMenuAllowedForTesting();
        const LPARAM text = reinterpret_cast<LPARAM>(folder.c_str());
        std::atomic<bool> sent{false};
        std::thread foreign([&] {
            for (LPARAM param : {text, LPARAM{1}}) ::SendMessageW(owner, WM_SHOW_PICTURE, 0, param);
            sent = true;
        });
        ::PostMessageW(owner, WM_SHOW_PICTURE, 0, text);
        while (!sent) PumpMessages(1);
        foreign.join();
        ::SendMessageW(owner, WM_SHOW_PICTURE, 0, text);
    };
    Command(window, ID_SETTINGS);
    EXPECT_TRUE(menuBlocked);
    EXPECT_TRUE(frame.IsMenuAllowedForTesting());
    EXPECT_EQ(desktop.Shown()[1], settings.seenPicture);
    ASSERT_EQ(3u, desktop.Shown().size()) << "cancelled: only the folder's first picture may show";
    EXPECT_EQ(0, frame.AppForTesting().GetPosition());
    EXPECT_NE(std::wstring::npos, LastTip(shell).find(L"[0/3]")) << Narrow(LastTip(shell));
    settings.whileOpen = nullptr;

    settings.accept = true;
    Command(window, ID_SETTINGS);
    ASSERT_EQ(4u, desktop.Shown().size()) << "accepted while playing: the next picture at once";
    EXPECT_EQ(desktop.Shown()[3], frame.AppForTesting().GetCurrentPath());
    EXPECT_EQ(frame.AppForTesting().GetCurrentPath(), IniValue(L"GENERAL", L"lastpic"))
        << "accepted settings are saved";

    Command(window, ID_PAUSE_START);
    EXPECT_EQ(L"开始(&S)", PauseLabel(frame));
    settings.whileOpen = [](HWND) { throw std::runtime_error("settings gone"); };
    Command(window, ID_SETTINGS);
    EXPECT_TRUE(frame.IsMenuAllowedForTesting()) << "blocked for good by a run that threw";
}

TEST_F(CMainFrameTest, ACancelledEndOfSessionSavesAndPlaysOnARealOneStopsTheController)
{
    HWND window = StartWithPictures(frame);
    ASSERT_NE(nullptr, window);
    HWND controller = frame.AppForTesting().GetHandle();

    EXPECT_EQ(0, ::SendMessageW(window, WM_ENDSESSION, FALSE, 0));
    EXPECT_EQ(frame.AppForTesting().GetCurrentPath(), IniValue(L"GENERAL", L"lastpic"));
    EXPECT_TRUE(::IsWindow(controller));
    EXPECT_EQ(L"暂停(&S)", PauseLabel(frame));
    const size_t shown = desktop.Shown().size();
    PumpMessages(1300);
    EXPECT_LT(shown, desktop.Shown().size()) << "the timer stopped with the session going on";

    Command(window, ID_NEXT_PICTURE);
    EXPECT_EQ(0, ::SendMessageW(window, WM_ENDSESSION, TRUE, 0));
    EXPECT_EQ(frame.AppForTesting().GetCurrentPath(), IniValue(L"GENERAL", L"lastpic"));
    EXPECT_FALSE(::IsWindow(controller));
    EXPECT_TRUE(::IsWindow(window)) << "the frame itself stays";
}

// The window base used to destroy the window only after the frame was gone,
// so the frame's own WM_DESTROY never ran: nothing was saved and no quit posted.
TEST_F(CMainFrameLife, AFrameEndedWithItsWindowStillThereSavesAndPostsTheQuit)
{
    HWND window = StartWithPictures(*frame);
    ASSERT_NE(nullptr, window);
    const std::wstring current = frame->AppForTesting().GetCurrentPath();
    ASSERT_FALSE(current.empty());
    HWND controller = frame->AppForTesting().GetHandle();

    frame.reset();
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_FALSE(::IsWindow(controller));
    EXPECT_EQ(current, IniValue(L"GENERAL", L"lastpic"));
    MSG quit = {};
    ASSERT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "no quit posted";
    EXPECT_EQ(1u, quit.wParam);
    ASSERT_FALSE(shell.Calls().empty());
    EXPECT_EQ(static_cast<DWORD>(NIM_DELETE), shell.Calls().back().message);
    EXPECT_TRUE(shell.Calls().back().iconAlive);
}

namespace {

// What a dialog the frame opened showed: read, then cancelled, from a timer
// that runs inside its modal loop.
struct SeenDialog {
    std::wstring caption;
    std::wstring text;
    std::vector<std::wstring> buttons;  // the id and text of each
    HICON icon = nullptr;
    RECT rect = {};
    bool menuAllowed = true;
};

std::vector<SeenDialog> g_seen;
const CMainFrame* g_reading = nullptr;

BOOL CALLBACK NoteControl(HWND child, LPARAM seen)
{
    auto& dialog = *reinterpret_cast<SeenDialog*>(seen);
    const CWindow control(child);
    const LONG style = ::GetWindowLongW(child, GWL_STYLE);
    if (control.GetWindowClass() == L"Button" && (style & WS_VISIBLE)) {
        dialog.buttons.push_back(DecimalText(::GetDlgCtrlID(child)) + L" " + control.GetText());
    }
    if (control.GetWindowClass() == L"Static" && (style & SS_TYPEMASK) == SS_ICON) {
        dialog.icon = reinterpret_cast<HICON>(control.Send(STM_GETICON));
    }
    return TRUE;
}

BOOL CALLBACK FindDialog(HWND window, LPARAM found)
{
    if (CWindow(window).GetWindowClass() != L"#32770" || !::IsWindowEnabled(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

void CALLBACK ReadAndCancel(HWND, UINT, UINT_PTR, DWORD)
{
    HWND window = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&window));
    if (window == nullptr) return;
    SeenDialog seen;
    seen.caption = CWindow(window).GetText();
    seen.text = CWindow(::GetDlgItem(window, 0xFFFF)).GetText();
    ::EnumChildWindows(window, &NoteControl, reinterpret_cast<LPARAM>(&seen));
    ::GetWindowRect(window, &seen.rect);
    seen.menuAllowed = g_reading->IsMenuAllowedForTesting();
    g_seen.push_back(seen);
    ::EnableWindow(window, FALSE);
    ::EndDialog(window, IDCANCEL);
}

struct DialogReader {
    static constexpr UINT kEveryMs = 20;
    explicit DialogReader(const CMainFrame& frame) : timer(::SetTimer(nullptr, 0, kEveryMs, &ReadAndCancel))
    {
        g_reading = &frame;
        g_seen.clear();
    }
    ~DialogReader() { ::KillTimer(nullptr, timer); }
    UINT_PTR timer;
};

// An icon's size and colours.
std::string Image(HICON icon)
{
    ICONINFO info = {};
    BITMAP bitmap = {};
    if (icon == nullptr || !::GetIconInfo(icon, &info)) return "(no icon)";
    ::GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
    std::string bits(bitmap.bmWidthBytes * bitmap.bmHeight, '\0');
    ::GetBitmapBits(info.hbmColor, static_cast<LONG>(bits.size()), &bits[0]);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return std::to_string(bitmap.bmWidth) + "x" + std::to_string(bitmap.bmHeight) + " " + bits;
}

// The resource's image drawn for the system's size, the small one unless told otherwise.
std::string ResourceImage(UINT id, int width, int height)
{
    const UniqueIcon icon(
        static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON,
                                        ::GetSystemMetrics(width), ::GetSystemMetrics(height), LR_DEFAULTCOLOR)));
    return Image(icon.Get());
}

std::string LastTrayImage(const NotifyRecorder& shell)
{
    for (auto call = shell.Calls().rbegin(); call != shell.Calls().rend(); ++call) {
        if (call->data.uFlags & NIF_ICON) return Image(call->data.hIcon);
    }
    return "(no icon call)";
}

}  // namespace

TEST(CMainFrameCommands, MovePicturesTimerAndIconByThePlayState)
{
    const UINT taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
    const std::wstring armed = ArmedFor(1);
    struct Case {
        const char* name;
        bool paused;
        UINT msg;
        WPARAM wParam;
        int step;  // in the list of three, from the first picture
        std::vector<std::wstring> timer;
        UINT icon;
    } const cases[] = {
        {"next, playing", false, WM_COMMAND, ID_NEXT_PICTURE, 1, {armed}, IDI_PLAYING},
        {"next, paused", true, WM_COMMAND, ID_NEXT_PICTURE, 1, {}, IDI_PAUSED},
        {"previous, playing", false, WM_COMMAND, ID_PREVIOUS_PICTURE, -1, {armed}, IDI_PLAYING},
        {"previous, paused", true, WM_COMMAND, ID_PREVIOUS_PICTURE, -1, {}, IDI_PAUSED},
        {"settings unchanged, playing", false, WM_COMMAND, ID_SETTINGS, 1, {armed}, IDI_PLAYING},
        {"settings unchanged, paused", true, WM_COMMAND, ID_SETTINGS, 0, {}, IDI_PAUSED},
        {"pause", false, WM_COMMAND, ID_PAUSE_START, 0, {L"stop"}, IDI_PAUSED},
        {"start", true, WM_COMMAND, ID_PAUSE_START, 1, {armed}, IDI_PLAYING},
        {"clear desktop", false, WM_COMMAND, ID_CLEAR_DESKTOP, 0, {L"stop"}, IDI_PAUSED},
        {"taskbar created, paused", true, taskbarCreated, 0, 0, {}, IDI_PAUSED},
        {"delete cancelled", false, WM_COMMAND, ID_DELETE_PICTURE, 0, {}, IDI_PLAYING},
    };
    for (const Case& c : cases) {
        FrameParts parts;
        NotifyRecorder shell;
        RecordingTimer timer(false);
        QuitDrain drain;
        CMainFrame frame(parts.Desktop(), parts.Settings(), timer);
        frame.SetNotifyIconFunctionForTesting(&NotifyRecorder::Notify);
        const DialogReader reader(frame);
        HWND window = parts.StartWithPictures(frame);
        ASSERT_NE(nullptr, window) << c.name;
        if (c.paused) Command(window, ID_PAUSE_START);
        timer.calls.clear();
        parts.settings.accept = true;
        const size_t shown = parts.desktop.Shown().size();
        const std::wstring current = frame.AppForTesting().GetCurrentPath();
        ::SendMessageW(window, c.msg, c.wParam, 0);
        PumpMessages(DialogReader::kEveryMs);

        EXPECT_EQ((3 + c.step) % 3, frame.AppForTesting().GetPosition()) << c.name;
        EXPECT_EQ(shown + (c.step != 0 ? 1 : 0), parts.desktop.Shown().size()) << c.name;
        EXPECT_EQ(c.timer, timer.calls) << c.name;
        EXPECT_TRUE(LastTrayImage(shell) == ResourceImage(c.icon)) << c.name << ": not the tray icon " << c.icon;
        EXPECT_EQ(c.icon == IDI_PAUSED, frame.AppForTesting().IsPaused()) << c.name;
        EXPECT_TRUE(frame.IsMenuAllowedForTesting()) << c.name;
        if (c.wParam != ID_DELETE_PICTURE) {
            EXPECT_TRUE(g_seen.empty()) << c.name << ": opened " << Narrow(g_seen[0].caption);
            continue;
        }
        ASSERT_EQ(1u, g_seen.size()) << c.name;
        const SeenDialog& box = g_seen[0];
        EXPECT_EQ(L"\u8b66\u544a", box.caption);
        EXPECT_EQ(L"\u786e\u5b9e\u8981\u5220\u9664\u5f53\u524d\u56fe\u7247" + current + L"\u5417\uff1f", box.text);
        EXPECT_EQ((std::vector<std::wstring>{L"1 OK", L"2 Cancel"}), box.buttons);
        EXPECT_EQ(::LoadIconW(nullptr, IDI_EXCLAMATION), box.icon) << "not the warning icon";
        EXPECT_FALSE(box.menuAllowed) << "the menu was allowed during the question";
        EXPECT_TRUE(FileIsThere(current));
    }
}

// Over the hidden frame the settings dialog takes the middle of the work area.
TEST(CMainFrameCommands, TheSettingsDialogOpensCentred)
{
    FrameParts parts;
    NotifyRecorder shell;
    QuitDrain drain;
    CMainFrame frame(parts.Desktop());
    frame.SetNotifyIconFunctionForTesting(&NotifyRecorder::Notify);
    const DialogReader reader(frame);
    ASSERT_NE(nullptr, frame.StartFrame());
    ASSERT_EQ(1u, g_seen.size());
    const RECT dialog = g_seen[0].rect;
    RECT work = {};
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_LE(std::abs((dialog.left + dialog.right) - (work.left + work.right)), 1) << dialog.left;
    EXPECT_LE(std::abs((dialog.top + dialog.bottom) - (work.top + work.bottom)), 1) << dialog.top;
}
