#include "engine/FileManager.h"

#include "tests/support/RegistryBackup.h"
#include "tests/support/TestFiles.h"
#include "win/PathChars.h"
#include "win/UniqueHandle.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

const wchar_t kAdvancedKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
const wchar_t kExplorerKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const wchar_t kSeparateProcess[] = L"SeparateProcess";
const wchar_t kDesktopProcess[] = L"DesktopProcess";
constexpr DWORD kWorkerWaitMs = 5000;

// One environment variable of this process, set for a test and put back afterwards.
class EnvironmentVariable {
public:
    EnvironmentVariable(const wchar_t* valueName, const wchar_t* value) : name(valueName)
    {
        wchar_t previous[kPathChars] = {};
        const DWORD length = ::GetEnvironmentVariableW(valueName, previous, kPathChars);
        existed = length > 0 && length < kPathChars;
        old = previous;
        ::SetEnvironmentVariableW(valueName, value);
    }
    ~EnvironmentVariable() { ::SetEnvironmentVariableW(name, existed ? old.c_str() : nullptr); }
    EnvironmentVariable(const EnvironmentVariable&) = delete;
    EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

private:
    const wchar_t* name;
    bool existed = false;
    std::wstring old;
};

// Keeps the Windows folder's explorer.exe out of sight for one test.
class HiddenExplorer {
public:
    HiddenExplorer() : path(ExpectedExplorerPath()), aside(path + L".lumitest")
    {
        moved = ::MoveFileW(path.c_str(), aside.c_str()) != FALSE;
        error = moved ? ERROR_SUCCESS : ::GetLastError();
    }
    ~HiddenExplorer()
    {
        if (moved) ::MoveFileW(aside.c_str(), path.c_str());
    }
    HiddenExplorer(const HiddenExplorer&) = delete;
    HiddenExplorer& operator=(const HiddenExplorer&) = delete;

    bool Moved() const { return moved; }
    DWORD Error() const { return error; }

    static std::wstring ExpectedExplorerPath()
    {
        wchar_t windows[kPathChars] = {};
        ::GetWindowsDirectoryW(windows, kPathChars);
        return std::wstring(windows) + L"\\explorer.exe";
    }

private:
    std::wstring path;
    std::wstring aside;
    bool moved = false;
    DWORD error = ERROR_SUCCESS;
};

// Stands in for the shell: records what would have been started.
class RecordingLauncher : public IFileManagerLauncher {
public:
    bool StartFileManager(const wchar_t* program, const wchar_t* parameters) override
    {
        ++starts;
        this->program = program;
        this->parameters = parameters;
        return true;
    }

    bool OpenFolder(const wchar_t* folder) override
    {
        ++opens;
        this->folder = folder;
        return true;
    }

    int starts = 0;
    int opens = 0;
    std::wstring program;
    std::wstring parameters;
    std::wstring folder;
};

class FileManagerTest : public testing::Test {
protected:
    void SetUp() override
    {
        // Explorer's defaults: folder windows in the shell's own process.
        separate.Remove();
        desktop.Remove();
    }

    // Declared in this order so the Advanced key, if the test created it,
    // goes before its parent.
    RegistryBackup desktop{kExplorerKey, kDesktopProcess};
    RegistryBackup separate{kAdvancedKey, kSeparateProcess};
    RecordingLauncher launcher;
};

TEST_F(FileManagerTest, ExplorerPathRefusesASmallBuffer)
{
    wchar_t buffer[kPathChars] = L"untouched";
    EXPECT_FALSE(GetExplorerPath(buffer, kPathChars - 1));
    EXPECT_EQ(std::wstring(L"untouched"), buffer);
    EXPECT_FALSE(GetExplorerPath(nullptr, kPathChars));
}

TEST_F(FileManagerTest, StartsExplorerWithTheQuotedPathSelected)
{
    const EnvironmentVariable pictures(L"LUMI_PICTURES", L"C:\\My Pictures,2024");
    wchar_t profile[kPathChars] = {};
    ASSERT_GT(::GetEnvironmentVariableW(L"USERPROFILE", profile, kPathChars), 0u);
    struct Case {
        const wchar_t* path;
        std::wstring parameters;
    } const cases[] = {
        {L"C:\\Pictures\\sunset.jpg", L"/select,\"C:\\Pictures\\sunset.jpg\""},
        {L"C:\\My Pictures\\a, b,c.jpg", L"/select,\"C:\\My Pictures\\a, b,c.jpg\""},
        {L"\\\\server\\share\\\u58c1\u7eb8.bmp", L"/select,\"\\\\server\\share\\\u58c1\u7eb8.bmp\""},
        {L"%LUMI_PICTURES%\\sea.png", L"/select,\"C:\\My Pictures,2024\\sea.png\""},
        {L"%USERPROFILE%\\Pictures\\a.jpg", L"/select,\"" + std::wstring(profile) + L"\\Pictures\\a.jpg\""},
        {L"%LUMI_UNSET_VARIABLE%\\x.jpg", L"/select,\"%LUMI_UNSET_VARIABLE%\\x.jpg\""},
        {L"", L"/select,"},
    };
    for (const Case& c : cases) {
        RecordingLauncher recorder;
        EXPECT_TRUE(RevealInFileManager(c.path, recorder)) << "path: " << Narrow(c.path);
        EXPECT_EQ(1, recorder.starts) << "path: " << Narrow(c.path);
        EXPECT_EQ(0, recorder.opens) << "path: " << Narrow(c.path);
        EXPECT_EQ(HiddenExplorer::ExpectedExplorerPath(), recorder.program) << "path: " << Narrow(c.path);
        EXPECT_EQ(c.parameters, recorder.parameters) << "path: " << Narrow(c.path);
    }
}

TEST_F(FileManagerTest, ChoosesTheFolderAloneFromExplorerSettings)
{
    enum Setting { kAbsent, kZero, kOne, kText };
    struct Case {
        Setting separateProcess;
        Setting desktopProcess;
        bool folderAlone;
    } const cases[] = {
        {kAbsent, kAbsent, false}, {kZero, kZero, false},   {kOne, kAbsent, true},
        {kOne, kZero, true},       {kAbsent, kOne, true},   {kZero, kOne, true},
        {kOne, kOne, true},        {kText, kAbsent, false}, {kAbsent, kText, false},
    };
    const auto apply = [](RegistryBackup& value, Setting setting) {
        switch (setting) {
        case kAbsent:
            value.Remove();
            break;
        case kZero:
            value.SetDword(0);
            break;
        case kOne:
            value.SetDword(1);
            break;
        case kText:
            value.SetText(L"1");
            break;
        }
    };
    for (const Case& c : cases) {
        apply(separate, c.separateProcess);
        apply(desktop, c.desktopProcess);
        RecordingLauncher recorder;
        const bool revealed = RevealInFileManager(L"C:\\P,1\\x y.jpg", recorder);
        const std::string where = "SeparateProcess " + std::to_string(c.separateProcess) + ", DesktopProcess " +
                                  std::to_string(c.desktopProcess) + " (0 absent, 1 zero, 2 one, 3 text)";
        EXPECT_TRUE(revealed) << where;
        EXPECT_EQ(c.folderAlone, IsExplorerSeparateProcess()) << where;
        EXPECT_EQ(c.folderAlone ? 1 : 0, recorder.opens) << where;
        EXPECT_EQ(c.folderAlone ? 0 : 1, recorder.starts) << where;
        if (c.folderAlone) {
            EXPECT_EQ(L"C:\\P,1", recorder.folder) << where;
        }
    }
}

TEST_F(FileManagerTest, FallbackHandsTheWorkerTheExpandedFolder)
{
    separate.SetDword(1);
    const EnvironmentVariable pictures(L"LUMI_PICTURES", L"D:\\a b,c");
    struct Case {
        const wchar_t* path;
        const wchar_t* folder;
    } const cases[] = {
        {L"C:\\Pictures\\sunset.jpg", L"C:\\Pictures"},
        {L"%LUMI_PICTURES%\\sea.png", L"D:\\a b,c"},
        {L"C:\\top.jpg", L"C:\\"},
        {L"", L""},
    };
    for (const Case& c : cases) {
        RecordingLauncher recorder;
        EXPECT_TRUE(RevealInFileManager(c.path, recorder)) << "path: " << Narrow(c.path);
        EXPECT_EQ(0, recorder.starts) << "path: " << Narrow(c.path);
        ASSERT_EQ(1, recorder.opens) << "path: " << Narrow(c.path);
        EXPECT_EQ(std::wstring(c.folder), recorder.folder) << "path: " << Narrow(c.path);
    }
}

TEST_F(FileManagerTest, MissingExplorerOpensTheFolderAlone)
{
    const HiddenExplorer hidden;
    if (!hidden.Moved()) GTEST_SKIP() << "cannot move explorer.exe aside, error " << hidden.Error();

    wchar_t buffer[kPathChars] = L"stale";
    EXPECT_FALSE(GetExplorerPath(buffer, kPathChars));
    EXPECT_EQ(std::wstring(), buffer);

    EXPECT_TRUE(RevealInFileManager(L"C:\\Pictures\\sunset.jpg", launcher));
    EXPECT_EQ(0, launcher.starts);
    EXPECT_EQ(1, launcher.opens);
    EXPECT_EQ(L"C:\\Pictures", launcher.folder);
}

TEST_F(FileManagerTest, StartsNothingWhenTheExpandedPathIsTooLong)
{
    const std::wstring longFolder(kPathChars, L'x');
    const EnvironmentVariable pictures(L"LUMI_PICTURES", longFolder.c_str());
    EXPECT_FALSE(RevealInFileManager(L"C:\\%LUMI_PICTURES%\\a.jpg", launcher));
    EXPECT_EQ(0, launcher.starts);
    EXPECT_EQ(0, launcher.opens);
}

// What the worker thread saw, for the tests of OpenFolderAsync.
struct WorkerRecord {
    std::wstring folder;
    int showCommand = 0;
    DWORD threadId = 0;
    HANDLE done = nullptr;
};
WorkerRecord g_worker;

void RecordWorker(const wchar_t* folder, int showCommand)
{
    g_worker.folder = folder;
    g_worker.showCommand = showCommand;
    g_worker.threadId = ::GetCurrentThreadId();
    ::SetEvent(g_worker.done);
}

TEST(OpenFolderAsync, WorkerOpensItsOwnCopyMaximizedOnAnotherThread)
{
    const UniqueKernelHandle done(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(done);
    g_worker = WorkerRecord{};
    g_worker.done = done.Get();

    for (const std::wstring folder : {L"C:\\My Pictures,2024", L""}) {
        ::ResetEvent(done.Get());
        {
            // The caller's text is gone before the worker may even have started.
            std::wstring caller = folder;
            ASSERT_TRUE(OpenFolderAsync(caller.c_str(), RecordWorker)) << "folder: " << Narrow(folder);
            caller.assign(caller.size(), L'#');
        }
        ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(done.Get(), kWorkerWaitMs)) << "folder: " << Narrow(folder);
        EXPECT_EQ(folder, g_worker.folder);
        EXPECT_EQ(SW_SHOWMAXIMIZED, g_worker.showCommand) << "folder: " << Narrow(folder);
        EXPECT_NE(::GetCurrentThreadId(), g_worker.threadId) << "folder: " << Narrow(folder);
    }
    g_worker.done = nullptr;
}

TEST(OpenFolderAsync, NoFolderStartsNoWorker)
{
    EXPECT_FALSE(OpenFolderAsync(nullptr, RecordWorker));
    EXPECT_FALSE(OpenFolderAsync(L"C:\\", nullptr));
}

}  // namespace
