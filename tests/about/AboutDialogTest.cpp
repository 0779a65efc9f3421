#include "about/CAboutDlg.h"
#include "about/CHyperLink.h"
#include "resources/resource.h"
#include "tests/support/DialogCheck.h"
#include "tests/support/TestFiles.h"
#include "win/ScopedSelectObject.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

// The about box made from its template, modeless, with its links driven by
// the messages the system would send them. Opening a link is recorded, never
// handed to the shell.

namespace {

const std::wstring kWebText = L"https://lumivane.example.org/";
const std::wstring kMailText = L"hello@lumivane.example.org";
constexpr COLORREF kDefaultLink = RGB(0, 0, 255);
constexpr COLORREF kDefaultVisited = RGB(128, 0, 128);

LPARAM PointParam(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y)));
}

LPARAM LinkCentre(const CHyperLink& link)
{
    const RECT r = link.GetLinkRectForTesting();
    return PointParam((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// A point inside the control, to the right of the text.
LPARAM BesideText(const CHyperLink& link)
{
    RECT client = {};
    ::GetClientRect(link.GetHandle(), &client);
    const RECT r = link.GetLinkRectForTesting();
    return PointParam(client.right - 1, (r.top + r.bottom) / 2);
}

bool IsUnderlined(HFONT font)
{
    LOGFONTW logFont = {};
    return font && ::GetObjectW(font, sizeof(logFont), &logFont) == sizeof(logFont) && logFont.lfUnderline;
}

std::string Show(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

std::wstring ToolText(const CHyperLink& link)
{
    wchar_t text[256] = {};
    TTTOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = link.GetHandle();
    tool.uId = 1;
    tool.lpszText = text;
    ::SendMessageW(link.GetTooltipForTesting(), TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
    return text;
}

// Paints the control into a bitmap of its own and counts the pixels of one colour.
int CountPixels(HWND control, COLORREF color)
{
    RECT client = {};
    ::GetClientRect(control, &client);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = client.right;
    info.bmiHeader.biHeight = -client.bottom;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    int count = 0;
    {
        const ScopedSelectObject selected(dc, bitmap);
        ::SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        ::GdiFlush();
        const DWORD wanted = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
        const auto* pixel = static_cast<const DWORD*>(bits);
        for (LONG i = 0; i < client.right * client.bottom; ++i) {
            if ((pixel[i] & 0xFFFFFF) == wanted) ++count;
        }
    }
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    return count;
}

class AboutDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog = std::make_unique<CAboutDlg>([this](const std::wstring& target) {
            opened.push_back(target);
            return openSucceeds;
        });
        ASSERT_NE(nullptr, dialog->CreateForTesting(nullptr)) << "error " << ::GetLastError();
    }

    const CHyperLink& Web() const { return dialog->WebLinkForTesting(); }
    const CHyperLink& Mail() const { return dialog->MailLinkForTesting(); }

    void Click(const CHyperLink& link, LPARAM down, LPARAM up)
    {
        ::SendMessageW(link.GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, down);
        ::SendMessageW(link.GetHandle(), WM_LBUTTONUP, 0, up);
    }

    // A key press to the focused window, handled as the modal loop would.
    void TypeKey(WPARAM key)
    {
        HWND box = dialog->GetHandle();
        MSG message = {::GetFocus(), WM_KEYDOWN, key, 1, 0, {}};
        if (!::IsDialogMessageW(box, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        while (::IsWindow(box) && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!::IsDialogMessageW(box, &message)) ::DispatchMessageW(&message);
        }
    }

    std::unique_ptr<CAboutDlg> dialog;
    std::vector<std::wstring> opened;
    bool openSucceeds = true;
};

}  // namespace

TEST_F(AboutDialogTest, ShowsItsControlsWithOnlyOkForTheKeyboard)
{
    ExpectDialogShows(dialog->GetHandle(), L"\u5173\u4e8e",
                      {
                          {IDOK, L"Button", L"\u786e\u5b9a"},
                          {IDC_STATIC, L"Static", L"Lumivane " LUMI_PROJECT_VERSION},
                          {IDC_STATIC, L"Static", nullptr},
                          {IDC_STATIC, L"Static",
                           L"\u81ea\u7531\u8f6f\u4ef6\uff0c\u6309\u539f\u6837\u63d0\u4f9b\uff0c\u4e0d\u9644"
                           L"\u5e26\u4efb\u4f55\u62c5\u4fdd\u3002"},
                          {IDC_STATIC, L"Static", L"\u7f51\u5740\uff1a"},
                          {IDC_STATIC, L"Static", L"\u90ae\u7bb1\uff1a"},
                          {IDC_WEB_LINK, L"Static", kWebText.c_str()},
                          {IDC_MAIL_LINK, L"Static", kMailText.c_str()},
                      },
                      {IDOK});
    // The third control shows the program's icon.
    HWND icon = ::GetWindow(::GetWindow(dialog->GetItem(IDOK), GW_HWNDNEXT), GW_HWNDNEXT);
    EXPECT_NE(0, ::SendMessageW(icon, STM_GETICON, 0, 0));
}

// Without an owner, as under the tray's hidden frame, the box is centred on the work area.
TEST_F(AboutDialogTest, WithoutOwnerIsCentredOnTheWorkArea)
{
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(dialog->GetHandle(), MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& area = monitor.rcWork;
    RECT box = {};
    ::GetWindowRect(dialog->GetHandle(), &box);
    EXPECT_LE(std::abs((area.left + area.right) - (box.left + box.right)), 1) << Show(box) << " on " << Show(area);
    EXPECT_LE(std::abs((area.top + area.bottom) - (box.top + box.bottom)), 1) << Show(box) << " on " << Show(area);
}

TEST_F(AboutDialogTest, LinksTakeTheirTargetsFromTheirTextAndShowThemInTheTooltip)
{
    struct Case {
        const char* name;
        const CHyperLink& link;
        std::wstring text;
        std::wstring target;
    } const cases[] = {
        {"web", Web(), kWebText, kWebText},
        {"mail", Mail(), kMailText, L"mailto:" + kMailText},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Narrow(c.text), Narrow(c.link.GetText())) << c.name;
        EXPECT_EQ(Narrow(c.text), Narrow(c.link.GetLabel())) << c.name;
        EXPECT_EQ(Narrow(c.target), Narrow(c.link.GetTargetForTesting())) << c.name;
        ASSERT_NE(nullptr, c.link.GetTooltipForTesting()) << c.name;
        EXPECT_EQ(Narrow(c.target), Narrow(ToolText(c.link))) << c.name;
        EXPECT_EQ(1, ::SendMessageW(c.link.GetTooltipForTesting(), TTM_GETTOOLCOUNT, 0, 0)) << c.name;
    }
}

TEST_F(AboutDialogTest, LinkRectangleCoversOnlyTheText)
{
    RECT client = {};
    ::GetClientRect(Web().GetHandle(), &client);
    const RECT r = Web().GetLinkRectForTesting();
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(0, r.top);
    EXPECT_GT(r.right, client.right / 4) << "the text is shorter than the control but not that short";
    EXPECT_LT(r.right, client.right) << "the rectangle is the text's, not the control's";
    EXPECT_GT(r.bottom, 0);
}

TEST_F(AboutDialogTest, HoverUnderlinesUntilThePointerLeavesTheText)
{
    HWND link = Web().GetHandle();
    struct Case {
        const char* name;
        UINT msg;
        LPARAM point;
    } const cases[] = {
        {"pointer leaves the control", WM_MOUSELEAVE, 0},
        {"pointer moves beside the text", WM_MOUSEMOVE, BesideText(Web())},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(Web().IsHoveringForTesting()) << c.name;
        EXPECT_FALSE(IsUnderlined(Web().GetDrawFontForTesting())) << c.name;

        ::SendMessageW(link, WM_MOUSEMOVE, 0, LinkCentre(Web()));
        EXPECT_TRUE(Web().IsHoveringForTesting()) << c.name;
        POINT onText = {Web().GetLinkRectForTesting().left, Web().GetLinkRectForTesting().top};
        ::ClientToScreen(link, &onText);
        ::SetCursorPos(onText.x, onText.y);
        ::SendMessageW(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(::LoadCursorW(nullptr, IDC_HAND), ::GetCursor()) << c.name << ": not the hand over the text";
        EXPECT_TRUE(IsUnderlined(Web().GetDrawFontForTesting())) << c.name;

        ::SendMessageW(link, c.msg, 0, c.point);
        EXPECT_FALSE(Web().IsHoveringForTesting()) << c.name;
        EXPECT_FALSE(IsUnderlined(Web().GetDrawFontForTesting())) << c.name;
    }
}

TEST_F(AboutDialogTest, ClickInsideTheTextOpensTheTarget)
{
    Click(Web(), LinkCentre(Web()), LinkCentre(Web()));
    EXPECT_EQ(Web().GetHandle(), ::GetFocus()) << "a click gives the link the focus";
    Click(Mail(), LinkCentre(Mail()), LinkCentre(Mail()));
    const std::vector<std::wstring> expected = {kWebText, L"mailto:" + kMailText};
    EXPECT_EQ(expected, opened);
    EXPECT_EQ(nullptr, ::GetCapture()) << "the link keeps the mouse captured";
}

TEST_F(AboutDialogTest, ClicksThatDoNotStartAndEndOnTheTextOpenNothing)
{
    struct Case {
        const char* name;
        LPARAM down;
        LPARAM up;
    } const cases[] = {
        {"press inside, release beside the text", LinkCentre(Web()), BesideText(Web())},
        {"press inside, release left of the control", LinkCentre(Web()), PointParam(-5, 2)},
        {"press beside the text, release inside", BesideText(Web()), LinkCentre(Web())},
    };
    for (const Case& c : cases) {
        Click(Web(), c.down, c.up);
        EXPECT_TRUE(opened.empty()) << c.name << ": opened " << (opened.empty() ? "" : Narrow(opened.back()));
        EXPECT_FALSE(Web().IsVisitedForTesting()) << c.name;
        opened.clear();
    }
}

// Keys as a user types them: through the dialog manager, which picks Enter
// for the default button and Tab for moving on unless the focused control
// asks for them.
TEST_F(AboutDialogTest, KeysOnTheFocusedLinkOpenItAndKeepTheBoxOpen)
{
    HWND link = Web().GetHandle();
    HWND ok = dialog->GetItem(IDOK);
    struct Case {
        const char* name;
        WPARAM key;
        size_t opened;  // targets opened so far
        HWND focus;     // where the focus is afterwards
    } const cases[] = {
        {"Enter", VK_RETURN, 1, link},
        {"space", VK_SPACE, 2, link},
        {"a letter", 'A', 2, link},
        {"Tab", VK_TAB, 2, ok},
    };
    for (const Case& c : cases) {
        ::SetFocus(link);
        TypeKey(c.key);
        EXPECT_EQ(c.opened, opened.size()) << c.name;
        EXPECT_EQ(c.focus, ::GetFocus()) << c.name;
        ASSERT_TRUE(::IsWindow(dialog->GetHandle()))
            << c.name << " closed the box with " << dialog->GetResultForTesting();
    }
    for (const std::wstring& target : opened) EXPECT_EQ(Narrow(kWebText), Narrow(target));

    // A tab character that reaches the link all the same opens nothing either.
    ::SendMessageW(link, WM_CHAR, '\t', 0);
    EXPECT_EQ(2u, opened.size());
    // Asked without a key, the link wants characters only, so the dialog
    // manager keeps Tab and the arrows.
    EXPECT_EQ(DLGC_WANTCHARS, ::SendMessageW(link, WM_GETDLGCODE, 0, 0));
}

TEST_F(AboutDialogTest, EnterElsewhereStillPressesOk)
{
    ::SetFocus(dialog->GetItem(IDOK));
    TypeKey(VK_RETURN);
    EXPECT_TRUE(opened.empty());
    EXPECT_FALSE(::IsWindow(dialog->GetHandle()));
    EXPECT_EQ(IDOK, dialog->GetResultForTesting());
}

TEST_F(AboutDialogTest, SuccessfulOpenPaintsTheVisitedColour)
{
    HWND link = Web().GetHandle();
    // Hovered, the underline gives a solid run of the text colour whatever the font smoothing.
    ::SendMessageW(link, WM_MOUSEMOVE, 0, LinkCentre(Web()));
    EXPECT_GT(CountPixels(link, kDefaultLink), 0);
    EXPECT_EQ(0, CountPixels(link, kDefaultVisited));

    ::SendMessageW(link, WM_CHAR, 13, 0);
    EXPECT_TRUE(Web().IsVisitedForTesting());
    EXPECT_GT(CountPixels(link, kDefaultVisited), 0);
    EXPECT_EQ(0, CountPixels(link, kDefaultLink));
    EXPECT_FALSE(Mail().IsVisitedForTesting()) << "each link keeps its own state";
}

TEST_F(AboutDialogTest, FailedOpenLeavesTheLinkUnvisited)
{
    openSucceeds = false;
    ::SendMessageW(Web().GetHandle(), WM_CHAR, 32, 0);
    ASSERT_EQ(1u, opened.size());
    EXPECT_FALSE(Web().IsVisitedForTesting());
}

TEST_F(AboutDialogTest, DestroyingTheBoxDestroysTheTooltips)
{
    HWND webTip = Web().GetTooltipForTesting();
    HWND mailTip = Mail().GetTooltipForTesting();
    ASSERT_TRUE(::IsWindow(webTip));
    ::DestroyWindow(dialog->GetHandle());
    EXPECT_FALSE(::IsWindow(webTip));
    EXPECT_FALSE(::IsWindow(mailTip));
    EXPECT_EQ(nullptr, Web().GetTooltipForTesting());
}

namespace {

// Closes the modal about box from inside its own loop, as a user's click would.
INT_PTR g_closeWith = 0;

void CALLBACK CloseAboutBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND box = ::FindWindowW(L"#32770", L"\u5173\u4e8e");
    if (box == nullptr) return;
    ::KillTimer(nullptr, timer);
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(g_closeWith, BN_CLICKED), 0);
}

}  // namespace

TEST(AboutBoxModal, ResultIsTheButtonThatClosedIt)
{
    for (INT_PTR button : {INT_PTR{IDOK}, INT_PTR{IDCANCEL}}) {
        g_closeWith = button;
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, &CloseAboutBox);
        ASSERT_NE(0u, timer);
        CAboutDlg about([](const std::wstring&) { return false; });
        EXPECT_EQ(button, about.DoModal(nullptr));
        ::KillTimer(nullptr, timer);
    }
}
