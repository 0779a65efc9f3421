#include "tests/support/ModalWatchdog.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

// The Wine tier's main: GoogleTest's own, with the modal watchdog around every
// test; a crash and a filter that names tests that are not there fail the run.

namespace {

constexpr UINT kCrashedExitCode = 3;

// GoogleTest's name patterns: '*' any text, '?' any one character.
bool Matches(const char* pattern, const char* name)
{
    if (*pattern == '*') return Matches(pattern + 1, name) || (*name != '\0' && Matches(pattern, name + 1));
    if (*pattern == '\0' || *name == '\0') return *pattern == *name;
    return (*pattern == '?' || *pattern == *name) && Matches(pattern + 1, name + 1);
}

bool AnyRunTestMatches(const std::string& pattern)
{
    const ::testing::UnitTest& unit = *::testing::UnitTest::GetInstance();
    for (int s = 0; s < unit.total_test_suite_count(); ++s) {
        const ::testing::TestSuite& suite = *unit.GetTestSuite(s);
        for (int t = 0; t < suite.total_test_count(); ++t) {
            const ::testing::TestInfo& test = *suite.GetTestInfo(t);
            const std::string name = std::string(suite.name()) + "." + test.name();
            if (test.should_run() && Matches(pattern.c_str(), name.c_str())) return true;
        }
    }
    return false;
}

// Every pattern the filter selects by must have selected a test: a rerun
// whose suite was renamed would otherwise run nothing, and pass.
bool EveryPatternSelectedATest()
{
    const std::string filter = GTEST_FLAG_GET(filter);
    std::string selecting = filter.substr(0, filter.find('-'));
    if (selecting.empty()) selecting = "*";
    bool all = true;
    for (size_t start = 0; start <= selecting.size();) {
        const size_t end = std::min(selecting.find(':', start), selecting.size());
        const std::string pattern = selecting.substr(start, end - start);
        if (!AnyRunTestMatches(pattern)) {
            std::printf("[  FAILED  ] no test selected by \"%s\"\n", pattern.c_str());
            all = false;
        }
        start = end + 1;
    }
    return all;
}

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
    const bool selected = EveryPatternSelectedATest();
    return failed == 0 && selected ? 0 : 1;
}
