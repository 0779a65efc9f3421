// Puts each piece of Lumivane's work next to the plainest Win32 code doing
// the same (bench/BareLimits.cpp, bench/BareTray.cpp): the folder scan, the
// list file saved and loaded, and a start-up with a cached list until the
// program waits for input. Prints figures; asserts nothing.
//
//   limit_bench LUMIVANE_EXE BARE_TRAY_EXE PICTURES
//
// PICTURES holds one folder per size, named by its number of files; limits.sh
// makes them from the host side. The start-up runs use this Wine prefix's own
// data folder, so run it in a disposable prefix.

#include "bench/BareLimits.h"
#include "config/CConf.h"
#include "config/DataFolder.h"
#include "config/FolderTime.h"
#include "engine/CWallpaperPlayer.h"
#include "engine/FolderScan.h"
#include "tests/support/FakeActiveDesktop.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <new>
#include <string>
#include <vector>

// Every allocation of the program is counted, so the memory of a load is the
// bytes its containers asked for, free of heap and page granularity.
namespace {

struct AllocationCount {
    size_t live = 0;
    size_t peak = 0;
};
AllocationCount g_allocations;
// Keeps the blocks as aligned as operator new must.
constexpr size_t kSizeHeader = 16;

void* CountedAlloc(size_t size)
{
    auto* block = static_cast<unsigned char*>(std::malloc(size + kSizeHeader));
    if (block == nullptr) throw std::bad_alloc();
    *reinterpret_cast<size_t*>(block) = size;
    g_allocations.live += size;
    g_allocations.peak = std::max(g_allocations.peak, g_allocations.live);
    return block + kSizeHeader;
}

void CountedFree(void* pointer)
{
    if (pointer == nullptr) return;
    unsigned char* block = static_cast<unsigned char*>(pointer) - kSizeHeader;
    g_allocations.live -= *reinterpret_cast<size_t*>(block);
    std::free(block);
}

}  // namespace

void* operator new(size_t size)
{
    return CountedAlloc(size);
}
void* operator new[](size_t size)
{
    return CountedAlloc(size);
}
void operator delete(void* pointer) noexcept
{
    CountedFree(pointer);
}
void operator delete[](void* pointer) noexcept
{
    CountedFree(pointer);
}
void operator delete(void* pointer, size_t) noexcept
{
    CountedFree(pointer);
}
void operator delete[](void* pointer, size_t) noexcept
{
    CountedFree(pointer);
}

namespace {

const int kSizes[] = {10000, 30000, 100000};
constexpr int kPairs = 7;
constexpr DWORD kLaunchTimeoutMs = 20000;
constexpr double kBytesPerMegabyte = 1024.0 * 1024.0;
constexpr double kBytesPerKilobyte = 1024.0;
const wchar_t kLumivaneClass[] = L"lumivane";
const wchar_t kBareTrayClass[] = L"LumivaneBareTray";

class Stopwatch {
public:
    Stopwatch()
    {
        ::QueryPerformanceFrequency(&frequency);
        ::QueryPerformanceCounter(&start);
    }
    double Milliseconds() const
    {
        LARGE_INTEGER now;
        ::QueryPerformanceCounter(&now);
        return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    }

private:
    LARGE_INTEGER frequency = {};
    LARGE_INTEGER start = {};
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// One run of each side first, unmeasured, warms the caches; then the pairs
// alternate which side goes first, so neither always inherits the other's state.
void Compare(int files, const char* work, const std::function<double()>& ours, const std::function<double()>& bare)
{
    ours();
    bare();
    std::vector<double> oursMs, bareMs, ratios;
    for (int pair = 0; pair < kPairs; ++pair) {
        double o = 0, b = 0;
        if (pair % 2 == 0) {
            o = ours();
            b = bare();
        } else {
            b = bare();
            o = ours();
        }
        oursMs.push_back(o);
        bareMs.push_back(b);
        ratios.push_back(o / b);
    }
    std::printf("%7d  %-9s %10.1f %10.1f %9.2f %9.2f\n", files, work, Median(oursMs), Median(bareMs),
                *std::min_element(ratios.begin(), ratios.end()), Median(ratios));
    std::fflush(stdout);
}

// From process creation until its thread first waits for input with its
// window made; -1 when it never got there.
double StartUntilIdle(const std::wstring& exe, const wchar_t* windowClass, const std::wstring& argument = L"")
{
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!argument.empty()) commandLine += L" \"" + argument + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    Stopwatch watch;
    if (!::CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
        return -1;
    }
    const DWORD idle = ::WaitForInputIdle(process.hProcess, kLaunchTimeoutMs);
    double ms = watch.Milliseconds();
    HWND window = ::FindWindowW(windowClass, nullptr);
    if (idle != 0 || window == nullptr) ms = -1;
    if (window != nullptr) ::PostMessageW(window, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process.hProcess, kLaunchTimeoutMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.hProcess, 0);
        ms = -1;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    if (ms < 0) std::printf("  (%ls did not start cleanly)\n", exe.c_str());
    return ms;
}

// The program's own data folder holds one configured folder, unchanged since
// its list was written, so the program starts by reading the list.
bool CacheListFor(const std::wstring& folder, CWallpaperPlayer& scanned)
{
    const std::wstring configFile = GetDataFilePath(kConfigFileName);
    ::DeleteFileW(configFile.c_str());
    CConf conf;
    CFolderEntry entry;
    entry.path = folder;
    int64_t modified = 0;
    if (!QueryFolderTime(folder, modified)) return false;
    entry.time = FormatFolderTime(modified);
    conf.folders.push_back(entry);
    conf.Save(true);
    return scanned.SaveList(GetDataFilePath(kListFileName).c_str());
}

struct LoadMemory {
    size_t peak = 0;
    size_t steady = 0;
};

LoadMemory Measure(const std::function<void()>& load)
{
    const size_t before = g_allocations.live;
    g_allocations.peak = before;
    load();
    return {g_allocations.peak - before, g_allocations.live - before};
}

std::string MemoryLine(int files, const char* who, const LoadMemory& memory)
{
    char line[128];
    std::snprintf(line, sizeof(line), "%7d  %-9s %10.2f %10.2f %9.2f", files, who, memory.peak / kBytesPerMegabyte,
                  memory.steady / kBytesPerMegabyte, static_cast<double>(memory.peak) / memory.steady);
    return line;
}

void BenchOneSize(int files, const std::wstring& folder, const std::wstring& lumivane, const std::wstring& bareTray,
                  const std::wstring& scratch, std::vector<std::string>& memoryLines)
{
    FakeActiveDesktop fake;
    CWallpaperPlayer player;
    player.InitWith(ComPtr<IActiveDesktop>(fake.Share()));
    std::vector<std::wstring> barePaths;

    Compare(
        files, "scan",
        [&] {
            player.Clear();
            Stopwatch watch;
            player.ScanFolder(folder.c_str());
            return watch.Milliseconds();
        },
        [&] {
            barePaths.clear();
            Stopwatch watch;
            BareScan(folder, barePaths);
            return watch.Milliseconds();
        });
    if (static_cast<size_t>(player.GetCount()) != barePaths.size()) {
        std::printf("  (scan: %d entries against the bare %zu)\n", player.GetCount(), barePaths.size());
    }

    const std::wstring ourFile = scratch + L"\\ours.txt";
    const std::wstring bareFile = scratch + L"\\bare.txt";
    Compare(
        files, "save",
        [&] {
            Stopwatch watch;
            player.SaveList(ourFile.c_str());
            return watch.Milliseconds();
        },
        [&] {
            Stopwatch watch;
            BareSave(bareFile, barePaths);
            return watch.Milliseconds();
        });

    Compare(
        files, "load",
        [&] {
            CWallpaperPlayer reader;
            Stopwatch watch;
            reader.LoadList(ourFile.c_str());
            return watch.Milliseconds();
        },
        [&] {
            std::vector<std::wstring> paths;
            Stopwatch watch;
            BareLoad(bareFile, paths);
            return watch.Milliseconds();
        });

    CWallpaperPlayer reader;
    const LoadMemory ours = Measure([&] { reader.LoadList(ourFile.c_str()); });
    std::vector<std::wstring> paths;
    const LoadMemory bare = Measure([&] { BareLoad(bareFile, paths); });
    if (static_cast<size_t>(reader.GetCount()) != paths.size()) {
        std::printf("  (load: %d entries against the bare %zu)\n", reader.GetCount(), paths.size());
    }

    if (!CacheListFor(folder, player)) {
        std::printf("  (could not write the cached list for %ls)\n", folder.c_str());
        return;
    }
    const std::wstring cachedList = GetDataFilePath(kListFileName);
    Compare(
        files, "start-up", [&] { return StartUntilIdle(lumivane, kLumivaneClass); },
        [&] { return StartUntilIdle(bareTray, kBareTrayClass, cachedList); });

    memoryLines.push_back(MemoryLine(files, "Lumivane", ours));
    memoryLines.push_back(MemoryLine(files, "bare", bare));
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 4) {
        std::printf("usage: limit_bench LUMIVANE_EXE BARE_TRAY_EXE PICTURES\n");
        return 2;
    }
    const std::wstring lumivane = argv[1];
    const std::wstring bareTray = argv[2];
    const std::wstring pictures = argv[3];

    WIN32_FILE_ATTRIBUTE_DATA exe = {};
    ::GetFileAttributesExW(lumivane.c_str(), GetFileExInfoStandard, &exe);
    std::printf("lumivane.exe: %lu bytes (%.1f KB)\n", exe.nFileSizeLow, exe.nFileSizeLow / kBytesPerKilobyte);
    std::printf(
        "Lumivane against the bare Win32 code of bench/; %d interleaved pairs, times are medians, "
        "ratio = Lumivane / bare\n\n",
        kPairs);
    std::printf("%7s  %-9s %10s %10s %9s %9s\n", "files", "work", "ours ms", "bare ms", "ratio min", "median");

    std::vector<std::string> memoryLines;
    for (int files : kSizes) {
        const std::wstring scratch = pictures + L"\\scratch " + std::to_wstring(files);
        ::CreateDirectoryW(scratch.c_str(), nullptr);
        BenchOneSize(files, pictures + L"\\" + std::to_wstring(files), lumivane, bareTray, scratch, memoryLines);
    }

    std::printf(
        "\nmemory of one load, counting allocator (bytes asked of operator new; peak = most alive during "
        "the load, steady = alive after it)\n");
    std::printf("%7s  %-9s %10s %10s %9s\n", "files", "who", "peak MB", "steady MB", "ratio");
    for (const std::string& line : memoryLines) std::printf("%s\n", line.c_str());
    return 0;
}
