#include "about/CHyperLink.h"

#include "win/RegKey.h"
#include "win/ScopedDC.h"
#include "win/ScopedSelectObject.h"
#include "win/ShellExecuteResult.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <cwchar>
#include <optional>
#include <string_view>
#include <utility>

namespace {

constexpr wchar_t kStaticClass[] = L"static";

constexpr wchar_t kColorKey[] = L"Software\\Microsoft\\Internet Explorer\\Settings";
constexpr wchar_t kLinkColorValue[] = L"Anchor Color";
constexpr wchar_t kVisitedColorValue[] = L"Anchor Color Visited";
// "255,255,255" and its terminator.
constexpr DWORD kColorChars = 12;

constexpr UINT_PTR kToolId = 1;
constexpr wchar_t kEnterChar = 13;
constexpr wchar_t kSpaceChar = 32;

bool IsStaticControl(const CWindow& control)
{
    const std::wstring name = control.GetWindowClass();
    return ::CompareStringOrdinal(name.c_str(), -1, kStaticClass, -1, TRUE) == CSTR_EQUAL;
}

// One colour value of the browser settings; nothing when it is missing, not
// a string, too long or malformed.
std::optional<COLORREF> ReadColorValue(HKEY key, const wchar_t* name)
{
    wchar_t buffer[kColorChars + 1] = {};  // one more, so the text always ends
    DWORD type = 0;
    DWORD bytes = kColorChars * sizeof(wchar_t);
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    const size_t chars = ::wcsnlen(buffer, bytes / sizeof(wchar_t));
    const std::optional<uint32_t> color = ParseAnchorColor(std::wstring_view(buffer, chars));
    if (!color) return std::nullopt;
    return static_cast<COLORREF>(*color);
}

POINT PointFromLParam(LPARAM lParam)
{
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

}  // namespace

CHyperLink::CHyperLink(LinkOpener linkOpener) : CWindowBase(false), opener(std::move(linkOpener)) {}

bool CHyperLink::Attach(HWND control)
{
    if (!Bind(control)) return false;

    if (IsStaticControl(*this)) {
        // A plain static lets clicks through to its parent unless it asks for them.
        const LONG_PTR style = ::GetWindowLongPtrW(control, GWL_STYLE);
        ::SetWindowLongPtrW(control, GWL_STYLE, style | SS_NOTIFY);
    }
    cursor = ::LoadCursorW(nullptr, IDC_HAND);
    CreateFonts();
    CreateTooltip();

    if (label.empty()) {
        const std::wstring text = GetText();
        if (!text.empty()) SetLabel(text);
    }
    CalcLinkRect();
    if (!target.empty()) {
        ShowTargetInTooltip();
    } else if (!label.empty()) {
        SetTarget(label);
    }
    ReadBrowserColors();
    return true;
}

void CHyperLink::CreateFonts()
{
    const CWindow parent = GetParent();
    normalFont = parent ? reinterpret_cast<HFONT>(parent.Send(WM_GETFONT)) : nullptr;
    if (normalFont == nullptr) normalFont = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
    if (normalFont == nullptr || linkFont) return;

    LOGFONTW logFont = {};
    if (::GetObjectW(normalFont, sizeof(logFont), &logFont) != sizeof(logFont)) return;
    logFont.lfUnderline = (extendedStyle & kLinkNotUnderlined) ? FALSE : TRUE;
    // When this fails the normal font serves for hovering too.
    linkFont.Reset(::CreateFontIndirectW(&logFont));
}

void CHyperLink::CreateTooltip()
{
    tooltip.Reset(::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                    CW_USEDEFAULT, GetHandle(), nullptr, nullptr, nullptr));
}

// Keeps one tool showing the current target, so a link whose target changes
// after initialisation never shows the old one.
void CHyperLink::ShowTargetInTooltip()
{
    if (!tooltip) return;
    ::SendMessageW(tooltip.Get(), TTM_ACTIVATE, TRUE, 0);

    TTTOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = GetHandle();
    tool.uId = kToolId;
    ::SendMessageW(tooltip.Get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));

    tool.rect = linkRect;
    tool.lpszText = const_cast<wchar_t*>(target.c_str());
    ::SendMessageW(tooltip.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CHyperLink::ReadBrowserColors()
{
    // Read access is all we need; asking for more would lose the colours of
    // a user whose key is read-only.
    const UniqueRegKey key = OpenUserKey(kColorKey, KEY_READ);
    if (!key) return;
    if (const auto color = ReadColorValue(key.Get(), kLinkColorValue)) linkColor = *color;
    if (const auto color = ReadColorValue(key.Get(), kVisitedColorValue)) visitedColor = *color;
}

uint32_t CHyperLink::SetExtendedStyle(uint32_t style, uint32_t mask)
{
    const uint32_t previous = extendedStyle;
    extendedStyle = CombineExtendedStyle(previous, style, mask);
    return previous;
}

void CHyperLink::SetTarget(const std::wstring& text)
{
    target = text;
    if (label.empty()) CalcLinkRect();
    ShowTargetInTooltip();
}

void CHyperLink::SetLabel(const std::wstring& text)
{
    label = text;
    CalcLinkRect();
    if (GetHandle()) ::SetWindowTextW(GetHandle(), label.c_str());
}

bool CHyperLink::Navigate()
{
    if (target.empty() || !opener) return false;
    if (!opener(target)) return false;
    visited = true;
    if (GetHandle()) ::InvalidateRect(GetHandle(), nullptr, TRUE);
    return true;
}

bool CHyperLink::OpenWithShell(const std::wstring& target)
{
    return ShellExecuteSucceeded(::ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
}

UINT CHyperLink::AlignmentFlags() const
{
    const LONG_PTR type = ::GetWindowLongPtrW(GetHandle(), GWL_STYLE) & SS_TYPEMASK;
    if (type == SS_CENTER) return DT_CENTER;
    if (type == SS_RIGHT) return DT_RIGHT;
    return DT_LEFT;
}

void CHyperLink::CalcLinkRect()
{
    if (hwnd == nullptr || (label.empty() && target.empty())) return;

    RECT client = {};
    ::GetClientRect(hwnd, &client);
    RECT text = client;
    const UINT align = AlignmentFlags();
    {
        const ScopedDC dc(hwnd);
        if (dc.Get() == nullptr) return;
        const ScopedSelectObject font(dc.Get(), linkFont ? linkFont.Get() : normalFont);
        ::DrawTextW(dc.Get(), DrawnText().c_str(), -1, &text, DT_CALCRECT | DT_WORDBREAK | align);
    }
    const LONG freeWidth = (client.right - client.left) - (text.right - text.left);
    if (align == DT_CENTER) ::OffsetRect(&text, freeWidth / 2, 0);
    if (align == DT_RIGHT) ::OffsetRect(&text, freeWidth, 0);
    linkRect = text;
}

COLORREF CHyperLink::GetTextColor() const
{
    if (GetHandle() && !::IsWindowEnabled(GetHandle())) return ::GetSysColor(COLOR_GRAYTEXT);
    return visited ? visitedColor : linkColor;
}

HFONT CHyperLink::GetDrawFont() const
{
    const bool underlineOnlyOnHover = (extendedStyle & kLinkUnderlineHover) != 0;
    if (linkFont && (!underlineOnlyOnHover || hover)) return linkFont.Get();
    return normalFont;
}

void CHyperLink::Paint(HDC dc)
{
    RECT client = {};
    ::GetClientRect(hwnd, &client);
    const auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(
        ::GetParent(hwnd), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
    if (brush) ::FillRect(dc, &client, brush);

    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, GetTextColor());
    {
        const ScopedSelectObject font(dc, GetDrawFont());
        RECT text = linkRect;
        ::DrawTextW(dc, DrawnText().c_str(), -1, &text, AlignmentFlags() | DT_WORDBREAK);
    }
    if (::GetFocus() == hwnd) ::DrawFocusRect(dc, &linkRect);
}

bool CHyperLink::IsInLink(POINT point) const
{
    return ::PtInRect(&linkRect, point) != FALSE;
}

void CHyperLink::RelayToTooltip(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!tooltip) return;
    MSG relayed = {};
    relayed.hwnd = GetHandle();
    relayed.message = msg;
    relayed.wParam = wParam;
    relayed.lParam = lParam;
    ::SendMessageW(tooltip.Get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void CHyperLink::OnMouseMove(POINT point)
{
    const bool underlineOnlyOnHover = (extendedStyle & kLinkUnderlineHover) != 0;
    if (IsInLink(point) && !target.empty()) {
        ::SetCursor(cursor);
        if (underlineOnlyOnHover && !hover) {
            hover = true;
            ::InvalidateRect(hwnd, &linkRect, TRUE);
            ::UpdateWindow(hwnd);
            TRACKMOUSEEVENT track = {};
            track.cbSize = sizeof(track);
            track.dwFlags = TME_LEAVE;
            track.hwndTrack = hwnd;
            ::TrackMouseEvent(&track);
        }
    } else if (hover) {
        hover = false;
        ::InvalidateRect(hwnd, &linkRect, TRUE);
        ::UpdateWindow(hwnd);
    }
}

void CHyperLink::OnMouseLeave()
{
    if ((extendedStyle & kLinkUnderlineHover) == 0 || !hover) return;
    hover = false;
    ::InvalidateRect(GetHandle(), &linkRect, TRUE);
    ::UpdateWindow(GetHandle());
}

bool CHyperLink::OnSetCursor()
{
    POINT point = {};
    if (!::GetCursorPos(&point) || !::ScreenToClient(GetHandle(), &point) || !IsInLink(point)) return false;
    ::SetCursor(cursor);
    return true;
}

void CHyperLink::OnLButtonDown(POINT point)
{
    if (!IsInLink(point)) return;
    ::SetFocus(GetHandle());
    ::SetCapture(GetHandle());
}

void CHyperLink::OnLButtonUp(POINT point)
{
    if (::GetCapture() != GetHandle()) return;
    ::ReleaseCapture();
    if (IsInLink(point)) Navigate();
}

LRESULT CHyperLink::OnGetDlgCode(const MSG* message) const
{
    // Left to itself the dialog manager turns Enter into a press of the
    // default button, and the link would never see its character.
    if (message != nullptr && message->message == WM_KEYDOWN && message->wParam == VK_RETURN) {
        return DLGC_WANTCHARS | DLGC_WANTMESSAGE;
    }
    return DLGC_WANTCHARS;
}

LRESULT CHyperLink::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) RelayToTooltip(msg, wParam, lParam);

    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT paint = {};
        if (HDC dc = ::BeginPaint(hwnd, &paint)) {
            Paint(dc);
            ::EndPaint(hwnd, &paint);
        }
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE:
        OnMouseMove(PointFromLParam(lParam));
        break;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return 0;
    case WM_SETCURSOR:
        if (OnSetCursor()) return TRUE;
        break;
    case WM_LBUTTONDOWN:
        OnLButtonDown(PointFromLParam(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(PointFromLParam(lParam));
        return 0;
    case WM_CHAR:
        if (wParam == kEnterChar || wParam == kSpaceChar) {
            Navigate();
            return 0;
        }
        break;
    case WM_GETDLGCODE:
        return OnGetDlgCode(reinterpret_cast<const MSG*>(lParam));
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        ::InvalidateRect(hwnd, nullptr, TRUE);
        break;
    case WM_ENABLE:
        ::InvalidateRect(hwnd, nullptr, TRUE);
        ::UpdateWindow(hwnd);
        break;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(normalFont);
    case WM_SETFONT:
        normalFont = reinterpret_cast<HFONT>(wParam);
        if (lParam != 0) ::InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_UPDATEUISTATE:
        return 0;
    case WM_SIZE:
        CalcLinkRect();
        ::InvalidateRect(hwnd, nullptr, TRUE);
        break;
    case WM_DESTROY:
        tooltip.Reset();
        break;
    default:
        break;
    }
    return CWindowBase::HandleMessage(msg, wParam, lParam);
}
