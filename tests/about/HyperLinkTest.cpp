#include "about/CAboutDlg.h"
#include "about/CHyperLink.h"
#include "tests/support/RegistryBackup.h"
#include "tests/support/TestFiles.h"
#include "win/RegKey.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The hyperlink control on its own: alignment of the link rectangle and the
// link colours taken from the browser settings.

namespace {

constexpr wchar_t kColorKey[] = L"Software\\Microsoft\\Internet Explorer\\Settings";
constexpr wchar_t kLinkValue[] = L"Anchor Color";
constexpr wchar_t kVisitedValue[] = L"Anchor Color Visited";
// Everyone may read the key, nobody may change it.
constexpr wchar_t kReadOnlyDacl[] = L"D:P(A;;KR;;;WD)";
constexpr COLORREF kDefaultLink = RGB(0, 0, 255);
constexpr COLORREF kDefaultVisited = RGB(128, 0, 128);

// Sets the browser's link colours for one test (null removes a value) and
// puts back what the prefix had afterwards.
class BrowserColors {
public:
    BrowserColors(const wchar_t* linkText, const wchar_t* visitedText)
    {
        Set(link, linkText);
        Set(visited, visitedText);
        key = OpenUserKey(kColorKey, KEY_READ | WRITE_DAC);
    }

    // Opened with the right to change its security, which it keeps whatever
    // the key's security says later.
    HKEY Get() const { return key.Get(); }

private:
    static void Set(RegistryBackup& value, const wchar_t* text)
    {
        if (text != nullptr) {
            value.SetText(text);
        } else {
            value.Remove();
        }
    }

    // Declared first, restored last: the key is closed before its values go back.
    RegistryBackup link{kColorKey, kLinkValue};
    RegistryBackup visited{kColorKey, kVisitedValue};
    UniqueRegKey key;
};

// The key's access list, as a self-relative security descriptor; empty when it cannot be read.
std::vector<BYTE> KeyDacl(HKEY key)
{
    DWORD bytes = 0;
    ::RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &bytes);
    std::vector<BYTE> descriptor(bytes);
    if (bytes == 0 || ::RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor.data(), &bytes) != ERROR_SUCCESS) {
        descriptor.clear();
    }
    return descriptor;
}

// The colour key's access list as text, to tell that it was put back as it was.
std::string DaclText()
{
    const UniqueRegKey key = OpenUserKey(kColorKey, KEY_READ);
    if (!key) return "(no key)";
    std::vector<BYTE> descriptor = KeyDacl(key.Get());
    wchar_t* text = nullptr;
    if (descriptor.empty() || !::ConvertSecurityDescriptorToStringSecurityDescriptorW(
                                  descriptor.data(), SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr)) {
        return "(unreadable)";
    }
    const std::string result = Narrow(text);
    ::LocalFree(text);
    return result;
}

// Makes the key read-only for everyone for one scope, then puts back the
// access list it had, through a handle that was opened with that right.
class ReadOnlyKey {
public:
    explicit ReadOnlyKey(HKEY heldKey) : key(heldKey), original(KeyDacl(heldKey))
    {
        PSECURITY_DESCRIPTOR readOnly = nullptr;
        if (original.empty() || !::ConvertStringSecurityDescriptorToSecurityDescriptorW(kReadOnlyDacl, SDDL_REVISION_1,
                                                                                        &readOnly, nullptr)) {
            return;
        }
        applied = ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, readOnly) == ERROR_SUCCESS;
        ::LocalFree(readOnly);
    }
    ~ReadOnlyKey()
    {
        if (applied) ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, original.data());
    }
    ReadOnlyKey(const ReadOnlyKey&) = delete;
    ReadOnlyKey& operator=(const ReadOnlyKey&) = delete;

    bool Applied() const { return applied; }

private:
    HKEY key;
    std::vector<BYTE> original;
    bool applied = false;
};

// What opening the key with the given rights gives now.
LONG OpenColorKey(REGSAM rights)
{
    HKEY opened = nullptr;
    const LONG status = ::RegOpenKeyExW(HKEY_CURRENT_USER, kColorKey, 0, rights, &opened);
    const UniqueRegKey key(opened);
    return status;
}

// Asks the control for its dialog code when it goes. Held only by a link's
// opener, the first of the link's members, it goes while the others are
// already gone: what it sees is what any message reaching the control
// while the link is being destroyed would find.
class DlgCodeProbe {
public:
    DlgCodeProbe(HWND probedControl, LRESULT* seenCode) : control(probedControl), seen(seenCode) {}
    ~DlgCodeProbe() { *seen = ::SendMessageW(control, WM_GETDLGCODE, 0, 0); }
    DlgCodeProbe(const DlgCodeProbe&) = delete;
    DlgCodeProbe& operator=(const DlgCodeProbe&) = delete;

private:
    HWND control;
    LRESULT* seen;
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
    Host() : hwnd(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 100, nullptr, nullptr, nullptr, nullptr)) {}
    ~Host() { ::DestroyWindow(hwnd); }
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;
    HWND Get() const { return hwnd; }

    HWND AddStatic(DWORD style, const wchar_t* text)
    {
        return ::CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | style, 10, 10, 300, 20, hwnd, nullptr,
                                 nullptr, nullptr);
    }

private:
    HWND hwnd;
};

}  // namespace

// How the values are parsed is the colour parser's own test; here they
// travel from the registry to the links.
TEST(HyperLinkColors, BrowserSettingsReplaceTheDefaults)
{
    struct Case {
        const char* name;
        const wchar_t* link;
        const wchar_t* visited;
        bool readOnlyKey;
        COLORREF expectedLink;
        COLORREF expectedVisited;
    } const cases[] = {
        {"both parsed", L"0,128,0", L"300,0,0", false, RGB(0, 128, 0), RGB(44, 0, 0)},
        {"visited missing", L"1,2,3", nullptr, false, RGB(1, 2, 3), kDefaultVisited},
        {"longer than the value buffer", L"1111,22222,33333", L"9,9,9", false, kDefaultLink, RGB(9, 9, 9)},
        {"read-only key", L"10,20,30", L"40,50,60", true, RGB(10, 20, 30), RGB(40, 50, 60)},
    };
    const std::string originalDacl = DaclText();
    ASSERT_EQ(0u, originalDacl.rfind("D:", 0)) << originalDacl;

    for (const Case& c : cases) {
        const BrowserColors colors(c.link, c.visited);
        std::optional<ReadOnlyKey> readOnly;
        if (c.readOnlyKey) {
            readOnly.emplace(colors.Get());
            ASSERT_TRUE(readOnly->Applied()) << c.name;
            ASSERT_EQ(ERROR_ACCESS_DENIED, OpenColorKey(KEY_READ | KEY_WRITE))
                << c.name << ": the key is not read-only";
            ASSERT_EQ(ERROR_SUCCESS, OpenColorKey(KEY_READ)) << c.name;
        }
        CAboutDlg dialog([](const std::wstring&) { return true; });
        ASSERT_NE(nullptr, dialog.CreateForTesting(nullptr)) << c.name;
        EXPECT_EQ(Hex(c.expectedLink), Hex(dialog.WebLinkForTesting().GetLinkColorForTesting())) << c.name;
        EXPECT_EQ(Hex(c.expectedVisited), Hex(dialog.WebLinkForTesting().GetVisitedColorForTesting())) << c.name;
        EXPECT_EQ(Hex(c.expectedLink), Hex(dialog.MailLinkForTesting().GetLinkColorForTesting())) << c.name;
    }

    EXPECT_EQ(originalDacl, DaclText()) << "the key's access list was not put back";
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
        const RECT r = link.GetLinkRectForTesting();
        const LONG leftGap = r.left;
        const LONG rightGap = client.right - r.right;
        EXPECT_GT(r.right - r.left, 0) << c.name;
        const LONG unevenness = c.style == SS_LEFT    ? leftGap
                                : c.style == SS_RIGHT ? rightGap
                                                      : std::abs(leftGap - rightGap);
        EXPECT_LE(unevenness, c.style == SS_CENTER ? 1 : 0) << c.name << ": gaps " << leftGap << ", " << rightGap;
        ::DestroyWindow(control);
    }
}

// A plain static is transparent to the mouse, which then goes to its parent.
TEST(HyperLinkAttach, StaticControlGetsClicks)
{
    Host host;
    CHyperLink link;
    HWND control = host.AddStatic(SS_LEFT, L"x");
    RECT r = {};
    ::GetWindowRect(control, &r);
    const LPARAM inside = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ASSERT_EQ(HTTRANSPARENT, ::SendMessageW(control, WM_NCHITTEST, 0, inside));
    ASSERT_TRUE(link.Attach(control));
    EXPECT_EQ(HTCLIENT, ::SendMessageW(control, WM_NCHITTEST, 0, inside));
    EXPECT_FALSE(link.Attach(control)) << "a link takes over one control only";
}

TEST(HyperLinkAttach, EmptyControlHasNoTargetAndOpensNothing)
{
    Host host;
    int opened = 0;
    CHyperLink link([&opened](const std::wstring&) { return ++opened > 0; });
    ASSERT_TRUE(link.Attach(host.AddStatic(SS_LEFT, L"")));
    EXPECT_TRUE(link.GetTargetForTesting().empty());
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
