#pragma once

#include "about/HyperLinkRules.h"
#include "win/CWindowBase.h"
#include "win/UniqueHandle.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

// Opens a link's target; true when it was opened. The shell does it in the
// program, tests hand in a recorder so nothing is started.
using LinkOpener = std::function<bool(const std::wstring& target)>;

// A live link drawn over an existing static control: link colours from the
// browser settings, a hand cursor, a tooltip with the target, and the
// target opened on a click inside the text or on Enter or space.
class CHyperLink : public CWindowBase {
public:
    explicit CHyperLink(LinkOpener opener = &CHyperLink::OpenWithShell);
    // The control is given back before the fonts, the tooltip and the opener
    // go, so no message that reaches it meanwhile finds them half destroyed.
    ~CHyperLink() override { Unbind(); }

    // Takes over a static control and prepares fonts, tooltip, target and colours.
    bool Attach(HWND control);

    // Returns the previous bits; a mask of 0 replaces all of them.
    uint32_t SetExtendedStyle(uint32_t style, uint32_t mask = 0);
    void SetTarget(const std::wstring& text);
    void SetLabel(const std::wstring& text);
    bool Navigate();

    static bool OpenWithShell(const std::wstring& target);

    const std::wstring& GetLabel() const { return label; }

    const std::wstring& GetTargetForTesting() const { return target; }
    RECT GetLinkRectForTesting() const { return linkRect; }
    HWND GetTooltipForTesting() const { return tooltip.Get(); }
    COLORREF GetLinkColorForTesting() const { return linkColor; }
    COLORREF GetVisitedColorForTesting() const { return visitedColor; }
    bool IsHoveringForTesting() const { return hover; }
    bool IsVisitedForTesting() const { return visited; }
    HFONT GetDrawFontForTesting() const { return GetDrawFont(); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void CalcLinkRect();
    COLORREF GetTextColor() const;
    // The font the text is drawn in right now.
    HFONT GetDrawFont() const;
    void CreateFonts();
    void CreateTooltip();
    void ShowTargetInTooltip();
    void ReadBrowserColors();

    const std::wstring& DrawnText() const { return label.empty() ? target : label; }
    UINT AlignmentFlags() const;
    bool IsInLink(POINT point) const;
    void Paint(HDC dc);
    void RelayToTooltip(UINT msg, WPARAM wParam, LPARAM lParam);

    void OnMouseMove(POINT point);
    void OnMouseLeave();
    bool OnSetCursor();
    void OnLButtonDown(POINT point);
    void OnLButtonUp(POINT point);
    LRESULT OnGetDlgCode(const MSG* message) const;

    LinkOpener opener;
    std::wstring label;
    std::wstring target;
    HCURSOR cursor = nullptr;
    UniqueFont linkFont;
    HFONT normalFont = nullptr;  // the parent's, or a stock font; never ours to delete
    RECT linkRect = {};
    UniqueWindow tooltip;
    COLORREF linkColor = RGB(0, 0, 255);
    COLORREF visitedColor = RGB(128, 0, 128);
    uint32_t extendedStyle = 0;
    bool visited = false;
    bool hover = false;
};
