#include "app/CMainFrame.h"
#include "resources/resource.h"
#include "tests/app/NotifyRecorder.h"
#include "tests/support/FakeActiveDesktop.h"
#include "tests/support/TestFiles.h"
#include "win/CWindow.h"
#include "win/ComPtr.h"
#include "win/DecimalText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

class RecordingTimer : public IChangeTimer {
public:
    void Arm(HWND, UINT_PTR, UINT) override { calls.push_back("arm"); }
    void Stop(HWND, UINT_PTR) override { calls.push_back("stop"); }
    std::vector<std::string> calls;
};

struct SeenWindow {
    std::wstring caption;
    std::wstring text;
    std::vector<std::wstring> buttons;  // id and text of each button shown
    HICON icon = nullptr;
    RECT rect = {};
    bool menuAllowed = true;
};

std::vector<SeenWindow> g_seen;
const CMainFrame* g_frame = nullptr;

BOOL CALLBACK NoteChild(HWND child, LPARAM seen)
{
    auto& window = *reinterpret_cast<SeenWindow*>(seen);
    const CWindow control(child);
    const LONG style = ::GetWindowLongW(child, GWL_STYLE);
    if (control.GetWindowClass() == L"Button" && (style & WS_VISIBLE)) {
        window.buttons.push_back(DecimalText(::GetDlgCtrlID(child)) + L" " + control.GetText());
    }
    if (control.GetWindowClass() == L"Static" && (style & SS_TYPEMASK) == SS_ICON) {
        window.icon = reinterpret_cast<HICON>(control.Send(STM_GETICON));
    }
    return TRUE;
}

BOOL CALLBACK FindDialog(HWND window, LPARAM found)
{
    if (CWindow(window).GetWindowClass() != L"#32770" || !::IsWindowEnabled(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// Runs inside the modal loop of whatever the frame opened.
void CALLBACK AnswerDialog(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr) return;
    SeenWindow seen;
    seen.caption = CWindow(dialog).GetText();
    seen.text = CWindow(::GetDlgItem(dialog, 0xFFFF)).GetText();
    ::EnumChildWindows(dialog, &NoteChild, reinterpret_cast<LPARAM>(&seen));
    ::GetWindowRect(dialog, &seen.rect);
    seen.menuAllowed = g_frame->IsMenuAllowedForTesting();
    g_seen.push_back(seen);
    ::EnableWindow(dialog, FALSE);
    ::EndDialog(dialog, IDCANCEL);
}

// The colours of a 16 x 16 icon, at most 32 bits each.
std::string Image(HICON icon)
{
    ICONINFO info = {};
    if (icon == nullptr || !::GetIconInfo(icon, &info)) return "(no icon)";
    std::string bits(16 * 16 * 4, '\0');
    ::GetBitmapBits(info.hbmColor, static_cast<LONG>(bits.size()), &bits[0]);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return bits;
}

std::string ResourceImage(UINT id)
{
    const UniqueIcon icon(static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR)));
    return Image(icon.Get());
}

// The quit a frame posts at its end would end the next loop a test runs.
struct QuitDrain {
    ~QuitDrain() { PumpMessages(0); }
};

// A frame on its first start, given a folder of three pictures; it plays
// from the first. Every dialog it opens is read and cancelled.
struct FrameRun {
    explicit FrameRun(bool paused, bool realSettings = false)
        : frame([this](CWallpaperPlayer& p) { p.InitWith(ComPtr<IActiveDesktop>(desktop.Share())); },
                realSettings ? CMainFrame::SettingsRunner() : AcceptWithPictures(), timer)
    {
        for (const wchar_t* name : {L"a.bmp", L"b.bmp", L"c.bmp"}) WriteBytes(pictures.Join(name), "picture");
        g_frame = &frame;
        g_seen.clear();
        answerTimer = ::SetTimer(nullptr, 0, kAnswerMs, &AnswerDialog);
        frame.SetNotifyIconFunctionForTesting(&NotifyRecorder::Notify);
        window = frame.StartFrame();
        if (paused) Send(WM_COMMAND, ID_PAUSE_START);
        timer.calls.clear();
    }
    ~FrameRun() { ::KillTimer(nullptr, answerTimer); }

    // The first start's settings name the pictures; later ones change nothing.
    CMainFrame::SettingsRunner AcceptWithPictures()
    {
        return [this](HWND, const CConf& conf, const std::wstring&) {
            CMainFrame::SettingsOutcome outcome{true, conf};
            if (conf.folders.empty()) outcome.conf.folders.push_back(CFolderEntry{pictures.Path(), L"", false});
            return outcome;
        };
    }

    void Send(UINT msg, WPARAM wParam)
    {
        ::SendMessageW(window, msg, wParam, 0);
        PumpMessages(kAnswerMs);
    }

    // The image of the icon the tray was last given.
    std::string TrayImage() const
    {
        for (auto call = shell.Calls().rbegin(); call != shell.Calls().rend(); ++call) {
            if (call->data.uFlags & NIF_ICON) return Image(call->data.hIcon);
        }
        return "(no icon call)";
    }

    static constexpr UINT kAnswerMs = 20;
    QuitDrain drain;
    DataFolderReset data;
    TempDir pictures;
    FakeActiveDesktop desktop;
    NotifyRecorder shell;
    RecordingTimer timer;
    CMainFrame frame;
    UINT_PTR answerTimer = 0;
    HWND window = nullptr;
};

}  // namespace

TEST(FrameCommands, MovePicturesTimerAndIconByThePlayState)
{
    const UINT taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
    struct Case {
        const char* name;
        bool paused;
        UINT msg;
        WPARAM wParam;
        int step;  // in the list of three, from the first picture
        std::vector<std::string> timer;
        UINT icon;
    } const cases[] = {
        {"next, playing", false, WM_COMMAND, ID_NEXT_PICTURE, 1, {"arm"}, IDI_PLAYING},
        {"next, paused", true, WM_COMMAND, ID_NEXT_PICTURE, 1, {}, IDI_PAUSED},
        {"previous, playing", false, WM_COMMAND, ID_PREVIOUS_PICTURE, -1, {"arm"}, IDI_PLAYING},
        {"previous, paused", true, WM_COMMAND, ID_PREVIOUS_PICTURE, -1, {}, IDI_PAUSED},
        {"settings unchanged, playing", false, WM_COMMAND, ID_SETTINGS, 1, {"arm"}, IDI_PLAYING},
        {"settings unchanged, paused", true, WM_COMMAND, ID_SETTINGS, 0, {}, IDI_PAUSED},
        {"pause", false, WM_COMMAND, ID_PAUSE_START, 0, {"stop"}, IDI_PAUSED},
        {"start", true, WM_COMMAND, ID_PAUSE_START, 1, {"arm"}, IDI_PLAYING},
        {"clear desktop", false, WM_COMMAND, ID_CLEAR_DESKTOP, 0, {"stop"}, IDI_PAUSED},
        {"taskbar created, paused", true, taskbarCreated, 0, 0, {}, IDI_PAUSED},
        {"delete cancelled", false, WM_COMMAND, ID_DELETE_PICTURE, 0, {}, IDI_PLAYING},
    };
    for (const Case& c : cases) {
        FrameRun run(c.paused);
        ASSERT_NE(nullptr, run.window) << c.name;
        const size_t shown = run.desktop.Shown().size();
        const std::wstring current = run.frame.AppForTesting().GetCurrentPath();
        run.Send(c.msg, c.wParam);

        EXPECT_EQ((3 + c.step) % 3, run.frame.AppForTesting().GetPosition()) << c.name;
        EXPECT_EQ(shown + (c.step != 0 ? 1 : 0), run.desktop.Shown().size()) << c.name;
        EXPECT_EQ(c.timer, run.timer.calls) << c.name;
        EXPECT_TRUE(run.TrayImage() == ResourceImage(c.icon)) << c.name << ": not the tray icon " << c.icon;
        EXPECT_EQ(c.icon == IDI_PAUSED, run.frame.AppForTesting().IsPaused()) << c.name;
        EXPECT_TRUE(run.frame.IsMenuAllowedForTesting()) << c.name;
        if (c.wParam != ID_DELETE_PICTURE) {
            EXPECT_TRUE(g_seen.empty()) << c.name << ": opened " << Narrow(g_seen[0].caption);
            continue;
        }
        ASSERT_EQ(1u, g_seen.size()) << c.name;
        const SeenWindow& box = g_seen[0];
        EXPECT_EQ(L"\u8b66\u544a", box.caption);
        EXPECT_EQ(L"\u786e\u5b9e\u8981\u5220\u9664\u5f53\u524d\u56fe\u7247" + current + L"\u5417\uff1f", box.text);
        EXPECT_EQ((std::vector<std::wstring>{L"1 OK", L"2 Cancel"}), box.buttons);
        EXPECT_EQ(::LoadIconW(nullptr, IDI_EXCLAMATION), box.icon) << "not the warning icon";
        EXPECT_FALSE(box.menuAllowed) << "the menu was allowed during the question";
        EXPECT_TRUE(FileIsThere(current));
    }
}

// Over the hidden frame the settings dialog takes the middle of the work area.
TEST(FrameCommands, TheSettingsDialogOpensCentred)
{
    FrameRun run(false, true);
    ASSERT_EQ(1u, g_seen.size());
    const RECT dialog = g_seen[0].rect;
    RECT work = {};
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_LE(std::abs((dialog.left + dialog.right) - (work.left + work.right)), 1) << dialog.left;
    EXPECT_LE(std::abs((dialog.top + dialog.bottom) - (work.top + work.bottom)), 1) << dialog.top;
}
