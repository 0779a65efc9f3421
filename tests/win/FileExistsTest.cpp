#include "win/FileExists.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

constexpr DWORD kUnixWaitMs = 5000;
constexpr DWORD kPollMs = 20;

TEST(FileExists, TellsPresentFromMissing)
{
    TempDir dir;
    const std::wstring file = dir.Join(L"\u58c1\u7eb8 1,2.jpg");
    ASSERT_TRUE(WriteBytes(file, "jpeg"));
    struct Case {
        std::wstring path;
        bool exists;
    } const cases[] = {
        {file, true},
        {dir.Path(), true},
        {dir.Join(L"missing.jpg"), false},
        {dir.Join(L"missing\\a.jpg"), false},
        {file + L"\\below-a-file.jpg", false},
        {L"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.exists, FileExists(c.path.c_str())) << "path: " << Narrow(c.path);
    }
    EXPECT_FALSE(FileExists(nullptr));
}

// Wine maps a Unix permission error to ERROR_ACCESS_DENIED. A Windows program
// cannot take its own permissions away, so this asks the Unix side of Wine to
// do it; Wine gives no waitable handle for a Unix process, hence the marker file.
class UnixShell {
public:
    UnixShell()
    {
        using ToUnix = char*(CDECL*)(const wchar_t*);
        const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
        toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(::GetProcAddress(kernel, "wine_get_unix_file_name")));
    }

    bool Available() const { return toUnix != nullptr; }

    std::string UnixPath(const std::wstring& path) const
    {
        char* unix = toUnix(path.c_str());
        if (unix == nullptr) return std::string();
        const std::string result = unix;
        ::HeapFree(::GetProcessHeap(), 0, unix);
        return result;
    }

    // Runs command, then waits until it has created marker.
    bool Run(const std::string& command, const std::wstring& marker) const
    {
        const std::string line = "/bin/sh -c \"" + command + " && touch '" + UnixPath(marker) + "'\"";
        std::wstring wide(line.begin(), line.end());
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        if (!::CreateProcessW(nullptr, &wide[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
            return false;
        }
        if (process.hThread != nullptr) ::CloseHandle(process.hThread);
        if (process.hProcess != nullptr) ::CloseHandle(process.hProcess);
        for (DWORD waited = 0; waited < kUnixWaitMs; waited += kPollMs) {
            if (FileIsThere(marker)) return true;
            ::Sleep(kPollMs);
        }
        return false;
    }

private:
    char*(CDECL* toUnix)(const wchar_t*) = nullptr;
};

TEST(FileExists, CountsAFileBehindAClosedFolderAsPresent)
{
    const UnixShell shell;
    if (!shell.Available()) GTEST_SKIP() << "not running under Wine";
    TempDir dir;
    const std::wstring closed = dir.Join(L"closed");
    const std::wstring file = closed + L"\\picture.jpg";
    ASSERT_TRUE(::CreateDirectoryW(closed.c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(file, "jpeg"));
    const std::string unixClosed = "'" + shell.UnixPath(closed) + "'";
    ASSERT_TRUE(shell.Run("chmod 000 " + unixClosed, dir.Join(L"closed.done")));

    const DWORD attributes = ::GetFileAttributesW(file.c_str());
    const DWORD error = ::GetLastError();
    const bool denied = attributes == INVALID_FILE_ATTRIBUTES && error == ERROR_ACCESS_DENIED;
    const bool exists = FileExists(file.c_str());
    // Opened again so the temporary folder can be removed.
    ASSERT_TRUE(shell.Run("chmod 700 " + unixClosed, dir.Join(L"opened.done")));

    // The entry that runs this without root's rights over files sets
    // LUMI_REQUIRE_DENIED: there a process that reads past them is a failure.
    const bool required = ::GetEnvironmentVariableW(L"LUMI_REQUIRE_DENIED", nullptr, 0) != 0;
    if (attributes != INVALID_FILE_ATTRIBUTES && !required) GTEST_SKIP() << "this process reads past file permissions";
    ASSERT_TRUE(denied) << "attributes " << attributes << ", error " << error;
    EXPECT_TRUE(exists);
}

}  // namespace
