#include "about/CAboutDlg.h"
#include "about/CHyperLink.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <string>

// The hyperlink control on its own: alignment of the link rectangle and the
// link colours taken from the browser settings.

namespace {

constexpr wchar_t kColorKey[] = L"Software\\Microsoft\\Internet Explorer\\Settings";
constexpr COLORREF kDefaultLink = RGB(0, 0, 255);
constexpr COLORREF kDefaultVisited = RGB(128, 0, 128);

// Sets the browser's link colours for one test and removes them afterwards.
class BrowserColors {
public:
    BrowserColors(const wchar_t* link, const wchar_t* visited)
    {
        ::RegCreateKeyExW(HKEY_CURRENT_USER, kColorKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_, nullptr);
        Set(L"Anchor Color", link);
        Set(L"Anchor Color Visited", visited);
    }
    ~BrowserColors()
    {
        ::RegDeleteValueW(key_, L"Anchor Color");
        ::RegDeleteValueW(key_, L"Anchor Color Visited");
        ::RegCloseKey(key_);
    }
    BrowserColors(const BrowserColors&) = delete;
    BrowserColors& operator=(const BrowserColors&) = delete;

private:
    void Set(const wchar_t* name, const wchar_t* value)
    {
        if (value == nullptr) return;
        const DWORD bytes = static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t));
        ::RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), bytes);
    }
    HKEY key_ = nullptr;
};

// Asks the control for its dialog code when it goes. Held only by a link's
// opener, the first of the link's members, it goes while the others are
// already gone: what it sees is what any message reaching the control
// while the link is being destroyed would find.
class DlgCodeProbe {
public:
    DlgCodeProbe(HWND control, LRESULT* seen) : control_(control), seen_(seen) {}
    ~DlgCodeProbe() { *seen_ = ::SendMessageW(control_, WM_GETDLGCODE, 0, 0); }
    DlgCodeProbe(const DlgCodeProbe&) = delete;
    DlgCodeProbe& operator=(const DlgCodeProbe&) = delete;

private:
    HWND control_;
    LRESULT* seen_;
};

std::string Hex(COLORREF color)
{
    char text[16] = {};
    snprintf(text, sizeof(text), "0x%06lX", static_cast<unsigned long>(color));
    return text;
}

// A bare window to put test controls on.
class Host {
public:
    Host()
        : hwnd_(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 100, nullptr, nullptr, nullptr, nullptr))
    {
    }
    ~Host() { ::DestroyWindow(hwnd_); }
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;
    HWND Get() const { return hwnd_; }

    HWND AddStatic(DWORD style, const wchar_t* text)
    {
        return ::CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | style, 10, 10, 300, 20, hwnd_, nullptr,
                                 nullptr, nullptr);
    }

private:
    HWND hwnd_;
};

} // namespace

TEST(HyperLinkColors, BrowserSettingsReplaceTheDefaults)
{
    struct Case {
        const wchar_t* link;
        const wchar_t* visited;
        COLORREF expectedLink;
        COLORREF expectedVisited;
    } const cases[] = {
        {L"0,128,0", L"300,0,0", RGB(0, 128, 0), RGB(44, 0, 0)},
        {L"0,128", L"0,128,", kDefaultLink, kDefaultVisited},
        {L"-1,0,0", L"0,-1,0", kDefaultLink, kDefaultVisited},
        {L"1,2,3", nullptr, RGB(1, 2, 3), kDefaultVisited},
        {L"1111,22222,33333", L"9,9,9", kDefaultLink, RGB(9, 9, 9)}, // longer than the value buffer
    };
    for (const Case& c : cases) {
        const BrowserColors colors(c.link, c.visited);
        CAboutDlg dialog([](const std::wstring&) { return true; });
        ASSERT_NE(nullptr, dialog.Create(nullptr));
        EXPECT_EQ(Hex(c.expectedLink), Hex(dialog.WebLink().GetLinkColor()));
        EXPECT_EQ(Hex(c.expectedVisited), Hex(dialog.WebLink().GetVisitedColor()));
        EXPECT_EQ(Hex(c.expectedLink), Hex(dialog.MailLink().GetLinkColor()));
    }
}

TEST(HyperLinkRect, FollowsTheControlsAlignment)
{
    Host host;
    struct Case {
        const char* name;
        DWORD style;
    } const cases[] = {{"left", SS_LEFT}, {"centre", SS_CENTER}, {"right", SS_RIGHT}};
    for (const Case& c : cases) {
        CHyperLink link;
        HWND control = host.AddStatic(c.style, L"short text");
        ASSERT_TRUE(link.Attach(control)) << c.name;
        RECT client = {};
        ::GetClientRect(control, &client);
        const RECT r = link.GetLinkRect();
        const LONG leftGap = r.left;
        const LONG rightGap = client.right - r.right;
        EXPECT_GT(r.right - r.left, 0) << c.name;
        const LONG unevenness = c.style == SS_LEFT ? leftGap : c.style == SS_RIGHT ? rightGap : std::abs(leftGap - rightGap);
        EXPECT_LE(unevenness, c.style == SS_CENTER ? 1 : 0) << c.name << ": gaps " << leftGap << ", " << rightGap;
        ::DestroyWindow(control);
    }
}

TEST(HyperLinkAttach, StaticControlGetsClicks)
{
    Host host;
    CHyperLink link;
    HWND control = host.AddStatic(SS_LEFT, L"x");
    ASSERT_EQ(0, ::GetWindowLongPtrW(control, GWL_STYLE) & SS_NOTIFY);
    ASSERT_TRUE(link.Attach(control));
    EXPECT_NE(0, ::GetWindowLongPtrW(control, GWL_STYLE) & SS_NOTIFY);
    EXPECT_FALSE(link.Attach(control)) << "a link takes over one control only";
}

TEST(HyperLinkAttach, EmptyControlHasNoTargetAndOpensNothing)
{
    Host host;
    int opened = 0;
    CHyperLink link([&opened](const std::wstring&) { return ++opened > 0; });
    ASSERT_TRUE(link.Attach(host.AddStatic(SS_LEFT, L"")));
    EXPECT_TRUE(link.GetTarget().empty());
    EXPECT_FALSE(link.Navigate());
    EXPECT_EQ(0, opened);
}

TEST(HyperLinkLifetime, ControlOutlivingTheLinkIsAPlainStaticAgain)
{
    Host host;
    HWND control = host.AddStatic(SS_LEFT, L"text");
    {
        CHyperLink link;
        ASSERT_TRUE(link.Attach(control));
        ASSERT_EQ(DLGC_WANTCHARS, ::SendMessageW(control, WM_GETDLGCODE, 0, 0));
    }
    EXPECT_NE(DLGC_WANTCHARS, ::SendMessageW(control, WM_GETDLGCODE, 0, 0));
}

TEST(HyperLinkLifetime, ControlIsGivenBackBeforeTheLinksMembersGo)
{
    Host host;
    HWND control = host.AddStatic(SS_LEFT, L"text");
    constexpr LRESULT kNotAsked = -1;
    LRESULT seen = kNotAsked;
    {
        auto probe = std::make_shared<DlgCodeProbe>(control, &seen);
        CHyperLink link([probe](const std::wstring&) { return true; });
        probe.reset();
        ASSERT_TRUE(link.Attach(control));
        ASSERT_EQ(DLGC_WANTCHARS, ::SendMessageW(control, WM_GETDLGCODE, 0, 0));
    }
    ASSERT_NE(kNotAsked, seen) << "the opener outlived the link";
    EXPECT_NE(DLGC_WANTCHARS, seen) << "a half-destroyed link answered for the control: " << seen;
}
