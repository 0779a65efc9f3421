#include "tests/support/ModalWatchdog.h"

#include "tests/support/TestFiles.h"
#include "win/CWindow.h"

#include <windows.h>

#include <vector>

namespace {

// A dialog of a test closes within milliseconds; this is ample on a loaded machine.
constexpr UINT kPatienceMs = 10000;
// Once a test has overrun, anything modal it opens after is ended at once.
constexpr UINT kOverrunPeriodMs = 50;

// Shown dialogs only: an ended one is hidden until its loop destroys it.
BOOL CALLBACK NoteDialog(HWND window, LPARAM found)
{
    if (::IsWindowVisible(window) && CWindow(window).GetWindowClass() == L"#32770") {
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    }
    return TRUE;
}

// A thread timer, so that every modal loop of the test's thread runs it.
void CALLBACK EndWhatIsOpen(HWND, UINT, UINT_PTR timer, DWORD)
{
    std::vector<HWND> dialogs;
    ::EnumThreadWindows(::GetCurrentThreadId(), &NoteDialog, reinterpret_cast<LPARAM>(&dialogs));
    for (HWND dialog : dialogs) {
        ADD_FAILURE() << "dialog \"" << Narrow(CWindow(dialog).GetText()) << "\" outlived the test's " << kPatienceMs
                      << " ms; ended";
        ::EndDialog(dialog, IDABORT);
    }
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof(thread);
    if (::GetGUIThreadInfo(::GetCurrentThreadId(), &thread) && (thread.flags & GUI_INMENUMODE)) {
        ADD_FAILURE() << "menu outlived the test's " << kPatienceMs << " ms; ended";
        ::EndMenu();
    }
    ::SetTimer(nullptr, timer, kOverrunPeriodMs, &EndWhatIsOpen);
}

}  // namespace

void ModalWatchdog::OnTestStart(const ::testing::TestInfo&)
{
    timer = ::SetTimer(nullptr, 0, kPatienceMs, &EndWhatIsOpen);
}

void ModalWatchdog::OnTestEnd(const ::testing::TestInfo&)
{
    ::KillTimer(nullptr, timer);
}
