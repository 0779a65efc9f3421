#include "app/CMessageLoop.h"

#include "app/CIdleHandler.h"
#include "app/CMessageFilter.h"

#include <algorithm>

namespace {
// The caret's blink timer; it is not a message the user caused.
constexpr UINT kCaretBlinkTimer = 0x0118;

template <typename T>
bool RemoveFirst(std::vector<T*>& list, T* item)
{
    auto found = std::find(list.begin(), list.end(), item);
    if (found == list.end()) return false;
    list.erase(found);
    return true;
}
}  // namespace

void CMessageLoop::AddFilter(CMessageFilter* filter)
{
    filters.push_back(filter);
}

bool CMessageLoop::RemoveFilter(CMessageFilter* filter)
{
    return RemoveFirst(filters, filter);
}

void CMessageLoop::AddIdle(CIdleHandler* handler)
{
    idleHandlers.push_back(handler);
}

bool CMessageLoop::RemoveIdle(CIdleHandler* handler)
{
    return RemoveFirst(idleHandlers, handler);
}

int CMessageLoop::RunLoop()
{
    bool idleArmed = true;
    int idleCount = 0;
    for (;;) {
        while (idleArmed && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!RunIdle(idleCount++)) idleArmed = false;
        }

        const BOOL got = FetchMessage(&msg);
        if (got == -1) continue;
        if (!got) break;

        if (!FilterMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }

        if (RearmsIdle(msg.message)) {
            idleArmed = true;
            idleCount = 0;
        }
    }
    return static_cast<int>(msg.wParam);
}

bool CMessageLoop::FilterMessage(MSG* message)
{
    // By index, newest first: a filter may remove itself while it runs.
    for (size_t i = filters.size(); i > 0; --i) {
        if (i > filters.size()) continue;
        CMessageFilter* filter = filters[i - 1];
        if (filter != nullptr && filter->FilterMessage(message)) return true;
    }
    return false;
}

bool CMessageLoop::RunIdle(int)
{
    for (size_t i = 0; i < idleHandlers.size(); ++i) {
        if (idleHandlers[i] != nullptr) idleHandlers[i]->OnIdleTime();
    }
    return false;
}

BOOL CMessageLoop::FetchMessage(MSG* message)
{
    return ::GetMessageW(message, nullptr, 0, 0);
}

bool CMessageLoop::RearmsIdle(UINT message)
{
    return message != WM_MOUSEMOVE && message != WM_NCMOUSEMOVE && message != WM_PAINT && message != kCaretBlinkTimer;
}
