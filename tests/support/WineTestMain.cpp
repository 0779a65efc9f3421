#include "tests/support/ModalWatchdog.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>

// The Wine tier's main: GoogleTest's own, with the modal watchdog around every
// test; a crash and a filter that selects no test fail the run.

namespace {

constexpr UINT kCrashedExitCode = 3;

// A crash ends the run at once, naming the test, with a failing exit code.
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
