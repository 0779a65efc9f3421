#include "tests/support/TestFiles.h"
#include "win/CWindow.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>

// The Wine tier's main: GoogleTest's own, where a crash, a modal window that
// outlives its test and a run that selects no test each fail at once.

namespace {

constexpr UINT kCrashedExitCode = 3;
// A dialog of a test closes within milliseconds; this is ample on a loaded machine.
constexpr UINT kPatienceMs = 10000;
// Once a test has overrun, anything modal it opens after is ended at once.
constexpr UINT kOverrunPeriodMs = 50;

// Wine's own debugger would print a backtrace, but once some tests have run
// the process it ends can leave with exit code 0, which reads as a pass.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* crash)
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::printf("[ CRASHED  ] %s.%s: exception %08lx at %p\n", test ? test->test_suite_name() : "(between tests)",
                test ? test->name() : "", crash->ExceptionRecord->ExceptionCode,
                crash->ExceptionRecord->ExceptionAddress);
    std::fflush(stdout);
    ::TerminateProcess(::GetCurrentProcess(), kCrashedExitCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

// Shown dialogs only: an ended one is hidden until its loop destroys it.
BOOL CALLBACK EndShownDialog(HWND window, LPARAM)
{
    if (::IsWindowVisible(window) && CWindow(window).GetWindowClass() == L"#32770") {
        ADD_FAILURE() << "dialog \"" << Narrow(CWindow(window).GetText()) << "\" outlived its test; ended";
        ::EndDialog(window, IDABORT);
    }
    return TRUE;
}

// A thread timer, so that every modal loop of the test's thread runs it.
void CALLBACK EndWhatIsOpen(HWND, UINT, UINT_PTR timer, DWORD)
{
    ::EnumThreadWindows(::GetCurrentThreadId(), &EndShownDialog, 0);
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof(thread);
    if (::GetGUIThreadInfo(::GetCurrentThreadId(), &thread) && (thread.flags & GUI_INMENUMODE)) {
        ADD_FAILURE() << "menu outlived its test; ended";
        ::EndMenu();
    }
    ::SetTimer(nullptr, timer, kOverrunPeriodMs, &EndWhatIsOpen);
}

// A modal loop that no longer ends would hold the whole run until ctest's
// time limit; this fails its test and ends it, so the next test runs.
class ModalWatchdog : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override
    {
        timer = ::SetTimer(nullptr, 0, kPatienceMs, &EndWhatIsOpen);
    }
    void OnTestEnd(const ::testing::TestInfo&) override { ::KillTimer(nullptr, timer); }

    UINT_PTR timer = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    ::SetUnhandledExceptionFilter(&ReportCrash);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ModalWatchdog);
    const int failed = RUN_ALL_TESTS();
    // A rerun whose suite was renamed would otherwise run nothing, and pass.
    if (::testing::UnitTest::GetInstance()->test_to_run_count() == 0) {
        std::printf("[  FAILED  ] no test selected\n");
        return 1;
    }
    return failed;
}
