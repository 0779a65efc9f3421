#include "win/CWindowSubclass.h"

#include "win/TraceException.h"

#include <commctrl.h>

namespace {

// One id is enough: the object itself travels as the subclass's reference data.
constexpr UINT_PTR kSubclassId = 1;

}  // namespace

CWindowSubclass::~CWindowSubclass()
{
    Unsubclass();
}

bool CWindowSubclass::Subclass(HWND window)
{
    if (window == nullptr || hwnd != nullptr) return false;
    if (!::SetWindowSubclass(window, &CWindowSubclass::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
        return false;
    }
    hwnd = window;
    return true;
}

void CWindowSubclass::Unsubclass()
{
    if (hwnd == nullptr) return;
    ::RemoveWindowSubclass(hwnd, &CWindowSubclass::SubclassProc, kSubclassId);
    hwnd = nullptr;
}

LRESULT CWindowSubclass::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK CWindowSubclass::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                               DWORD_PTR refData)
{
    auto* self = reinterpret_cast<CWindowSubclass*>(refData);

    LRESULT result = 0;
    try {
        result = self->HandleMessage(msg, wParam, lParam);
    } catch (...) {
        // Nothing may unwind into the system's dispatcher.
        TraceCaughtException(hwnd, msg);
        result = ::DefSubclassProc(hwnd, msg, wParam, lParam);
    }

    if (msg == WM_NCDESTROY) {
        self->Unsubclass();
        self->OnFinalMessage();
    }
    return result;
}
