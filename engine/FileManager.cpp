#include "engine/FileManager.h"

#include "engine/SelectArgument.h"
#include "win/FileExists.h"
#include "win/PathChars.h"
#include "win/RegKey.h"
#include "win/ScopedComInit.h"
#include "win/ShellExecuteResult.h"
#include "win/UniqueHandle.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <memory>
#include <new>
#include <string>

namespace {

constexpr int kRevealShowCommand = SW_SHOWMAXIMIZED;

const wchar_t kExplorerFile[] = L"explorer.exe";
const wchar_t kAdvancedKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
const wchar_t kSeparateProcessValue[] = L"SeparateProcess";
const wchar_t kExplorerKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const wchar_t kDesktopProcessValue[] = L"DesktopProcess";

class ShellLauncher : public IFileManagerLauncher {
public:
    bool StartFileManager(const wchar_t* program, const wchar_t* parameters) override
    {
        return ShellExecuteSucceeded(
            ::ShellExecuteW(nullptr, nullptr, program, parameters, nullptr, kRevealShowCommand));
    }

    bool OpenFolder(const wchar_t* folder) override { return OpenFolderAsync(folder); }
};

// An empty or vanished folder just makes this fail; nobody is told.
void ShellOpenFolder(const wchar_t* folder, int showCommand)
{
    ::ShellExecuteW(nullptr, L"open", folder, nullptr, nullptr, showCommand);
}

// A DWORD value under HKEY_CURRENT_USER; a missing key or value, or one of
// another type, reads as 0.
DWORD ReadUserDword(const wchar_t* subKey, const wchar_t* name)
{
    const UniqueRegKey key = OpenUserKey(subKey, KEY_READ);
    if (!key) return 0;
    DWORD type = REG_NONE;
    DWORD value = 0;
    DWORD size = sizeof(value);
    const LONG status = ::RegQueryValueExW(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value)) return 0;
    return value;
}

// All the worker owns: its own copy of the folder, freed when the thread ends.
struct OpenFolderJob {
    std::wstring folder;
    int showCommand;
    FolderOpener open;
};

DWORD WINAPI OpenFolderThread(void* parameter)
{
    const std::unique_ptr<OpenFolderJob> job(static_cast<OpenFolderJob*>(parameter));
    // The shell may hand the verb to a COM server, which needs an apartment on this thread.
    const ScopedComInit com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    job->open(job->folder.c_str(), job->showCommand);
    return 0;
}

}  // namespace

bool RevealInFileManager(const wchar_t* path)
{
    ShellLauncher launcher;
    return RevealInFileManager(path, launcher);
}

bool RevealInFileManager(const wchar_t* path, IFileManagerLauncher& launcher)
{
    wchar_t expanded[kPathChars] = {};
    const DWORD needed = ::ExpandEnvironmentStringsW(path != nullptr ? path : L"", expanded, kPathChars);
    // A cut path names another file or none at all; show nothing rather than that.
    if (needed == 0 || needed > kPathChars) return false;

    wchar_t explorer[kPathChars] = {};
    if (!GetExplorerPath(explorer, kPathChars) || IsExplorerSeparateProcess()) {
        ::PathRemoveFileSpecW(expanded);
        return launcher.OpenFolder(expanded);
    }
    return launcher.StartFileManager(explorer, SelectArgument(expanded).c_str());
}

bool GetExplorerPath(wchar_t* buffer, size_t capacity)
{
    if (buffer == nullptr || capacity < kPathChars) return false;
    buffer[0] = L'\0';

    wchar_t path[kPathChars] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_WINDOWS, nullptr, SHGFP_TYPE_CURRENT, path))) return false;
    if (!::PathAppendW(path, kExplorerFile) || !FileExists(path)) return false;
    ::lstrcpynW(buffer, path, static_cast<int>(kPathChars));
    return true;
}

bool IsExplorerSeparateProcess()
{
    DWORD separate = ReadUserDword(kAdvancedKey, kSeparateProcessValue);
    if (separate == 0) separate = ReadUserDword(kExplorerKey, kDesktopProcessValue);
    return separate != 0;
}

bool OpenFolderAsync(const wchar_t* folder)
{
    return OpenFolderAsync(folder, ShellOpenFolder);
}

bool OpenFolderAsync(const wchar_t* folder, FolderOpener open)
{
    if (folder == nullptr || open == nullptr) return false;

    std::unique_ptr<OpenFolderJob> job;
    try {
        job.reset(new OpenFolderJob{folder, kRevealShowCommand, open});
    } catch (const std::bad_alloc&) {
        return false;
    }
    // Nobody waits for the worker, so its handle is closed at once.
    const UniqueKernelHandle thread(::CreateThread(nullptr, 0, OpenFolderThread, job.get(), 0, nullptr));
    if (!thread) return false;
    job.release();  // the worker frees it
    return true;
}
