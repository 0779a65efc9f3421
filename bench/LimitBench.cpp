// Puts each piece of Lumivane's work next to the plainest Win32 code doing
// the same (bench/BareLimits.cpp, bench/BareTray.cpp): the folder scan, the
// list file saved and loaded, and a start-up with a cached list until the
// icon is in the tray and the first wallpaper was asked for; then where the
// program's start-up goes, step by step. Prints figures; asserts nothing.
//
//   limit_bench LUMIVANE_EXE BARE_TRAY_EXE PICTURES DESKTOP_LOG
//
// PICTURES holds one folder per size, named by its number of files; limits.sh
// makes them from the host side and runs this in a virtual desktop with a
// notification area, where the stand-in desktop service writes DESKTOP_LOG.
// The start-up runs use this Wine prefix's own data folder, so run it in a
// disposable prefix.

#include "bench/BareLimits.h"
#include "bench/Stopwatch.h"
#include "config/CConf.h"
#include "config/DataFolder.h"
#include "config/FolderTime.h"
#include "engine/CWallpaperPlayer.h"
#include "engine/FolderScan.h"
#include "tests/support/FakeActiveDesktop.h"
#include "win/ScopedComInit.h"
#include "win/UniqueHandle.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
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
constexpr int kPairs = 9;
constexpr DWORD kLaunchTimeoutMs = 20000;
// Short enough that a start-up's end is seen within about a millisecond.
constexpr DWORD kPollMs = 1;
// The last picture shown is this far from the end of the list: the program's
// search for it runs through nearly the whole list, and the next does not wrap.
constexpr size_t kLastFromEnd = 2;
constexpr double kBytesPerMegabyte = 1024.0 * 1024.0;
constexpr double kBytesPerKilobyte = 1024.0;
const wchar_t kLumivaneClass[] = L"lumivane";
const wchar_t kBareTrayClass[] = L"LumivaneBareTray";
const wchar_t kStepsClass[] = L"LumivaneStartSteps";
const wchar_t kStepsSwitch[] = L"--steps";
constexpr int kLogLineBytes = 1024;

// Plain C files: the iostreams' start-up would weigh on the steps' first mark.
using UniqueCFile = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

UniqueCFile OpenFile(const std::wstring& path, const wchar_t* mode)
{
    return UniqueCFile(_wfopen(path.c_str(), mode), &std::fclose);
}

// The marks of the start-up steps: each is the end of its step.
enum Step { kEntry, kComAndControls, kFirstWindow, kConfig, kDesktop, kList, kWallpaper, kIcon, kStepCount };
const char* const kStepNames[kStepCount] = {"to entry", "COM+ctl", "window",    "lumi.ini",
                                            "desktop",  "list",    "wallpaper", "icon"};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// One run of each side first, unmeasured, warms the caches; then the pairs
// alternate which side goes first, so neither always inherits the other's
// state. A pair with a failed side (below 0) is left out.
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
        if (o < 0 || b < 0) continue;
        oursMs.push_back(o);
        bareMs.push_back(b);
        ratios.push_back(o / b);
    }
    if (ratios.empty()) {
        std::printf("%7d  %-9s no clean pair\n", files, work);
        return;
    }
    std::printf("%7d  %-9s %10.1f %10.1f %9.2f %9.2f %9.2f\n", files, work, Median(oursMs), Median(bareMs),
                *std::min_element(ratios.begin(), ratios.end()), Median(ratios),
                *std::max_element(ratios.begin(), ratios.end()));
    std::fflush(stdout);
}

UniqueKernelHandle Launch(const std::wstring& exe, const std::wstring& arguments)
{
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
        return UniqueKernelHandle();
    }
    ::CloseHandle(process.hThread);
    return UniqueKernelHandle(process.hProcess);
}

// What every start-up finds in the data folder: lumi.ini naming one folder,
// unchanged since its list was written, and a last picture near the end of
// that list; and so the picture both programs must set next.
struct StartState {
    CConf conf;
    std::wstring next;
    std::wstring desktopLog;
};

bool PrepareStart(const std::wstring& folder, const CWallpaperPlayer& scanned, StartState& state)
{
    wchar_t dataFolder[kPathChars] = {};
    if (!GetDataFolderPath(dataFolder, kPathChars)) return false;
    ::CreateDirectoryW(dataFolder, nullptr);
    const std::wstring listFile = GetDataFilePath(kListFileName);
    std::vector<std::wstring> list;
    CFolderEntry entry;
    entry.path = folder;
    int64_t modified = 0;
    if (!QueryFolderTime(folder, modified) || !scanned.SaveList(listFile.c_str()) || !BareLoad(listFile, list) ||
        list.size() < kLastFromEnd) {
        return false;
    }
    entry.time = FormatFolderTime(modified);
    state.conf = CConf();
    state.conf.folders.push_back(entry);
    state.conf.lastpic = list[list.size() - kLastFromEnd];
    state.next = list[list.size() - kLastFromEnd + 1];
    ::DeleteFileW(GetDataFilePath(kConfigFileName).c_str());
    return state.conf.Save(true);
}

// The stand-in desktop service's log begins with the first SetWallpaper.
bool FirstWallpaperIs(const std::wstring& log, const std::wstring& picture)
{
    char line[kLogLineBytes] = {};
    char path[kLogLineBytes] = {};
    const UniqueCFile file = OpenFile(log, L"rb");
    if (!file || std::fgets(line, sizeof(line), file.get()) == nullptr) return false;
    ::WideCharToMultiByte(CP_UTF8, 0, picture.c_str(), -1, path, sizeof(path), nullptr, nullptr);
    return std::strstr(line, (std::string(" SetWallpaper ") + path).c_str()) != nullptr;
}

// From process creation until the program's icon is in the tray and its first
// wallpaper has been asked of the desktop service; -1 when it never got
// there, or asked for another picture than `state.next`.
double StartUntilShown(const std::wstring& exe, const wchar_t* windowClass, StartState& state)
{
    // The last run saved the picture it showed as the last one.
    state.conf.Save(false);
    ::DeleteFileW(state.desktopLog.c_str());
    const Stopwatch watch;
    const UniqueKernelHandle process = Launch(exe, L"");
    if (!process) return -1;
    HWND window = nullptr;
    double ms = -1;
    while (ms < 0 && watch.Milliseconds() < kLaunchTimeoutMs) {
        ::Sleep(kPollMs);
        if (window == nullptr) window = ::FindWindowW(windowClass, nullptr);
        const bool asked =
            window != nullptr && ::GetFileAttributesW(state.desktopLog.c_str()) != INVALID_FILE_ATTRIBUTES;
        if (asked && IconInTray(window)) ms = watch.Milliseconds();
    }
    if (ms >= 0 && !FirstWallpaperIs(state.desktopLog, state.next)) ms = -1;
    if (window != nullptr) ::PostMessageW(window, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process.Get(), kLaunchTimeoutMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.Get(), 0);
        ms = -1;
    }
    if (ms < 0) std::printf("  (%ls did not show its icon and the expected wallpaper)\n", exe.c_str());
    return ms;
}

// The program's start-up step by step in a fresh process, so that each
// first-time cost lands on the step that pays it: the program's own code
// for lumi.ini, the desktop service, the list and the wallpaper, the bare
// code for the window and the icon (no class icons, no controller window).
// Writes the performance counter at the end of each step to `resultFile`.
int RunStartSteps(const wchar_t* resultFile)
{
    LONGLONG marks[kStepCount] = {};
    marks[kEntry] = Stopwatch::Now();
    const ScopedComInit com;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    ::InitCommonControlsEx(&controls);
    marks[kComAndControls] = Stopwatch::Now();

    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kStepsClass;
    ::RegisterClassExW(&wc);
    const UniqueWindow window(::CreateWindowExW(0, kStepsClass, L"", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                                CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, wc.hInstance, nullptr));
    marks[kFirstWindow] = Stopwatch::Now();

    CConf conf;
    conf.Load(GetDataFilePath(kConfigFileName).c_str());
    marks[kConfig] = Stopwatch::Now();
    CWallpaperPlayer player;
    player.Init();
    marks[kDesktop] = Stopwatch::Now();
    LoadOrRescanFolders(player, conf.folders, GetDataFilePath(kListFileName).c_str());
    player.SetStyle(static_cast<WallpaperStyle>(conf.style));
    player.SetCurrentPath(conf.lastpic.c_str());
    marks[kList] = Stopwatch::Now();
    player.Next();
    marks[kWallpaper] = Stopwatch::Now();
    BareAddIcon(window.Get(), L"Lumivane");
    marks[kIcon] = Stopwatch::Now();
    BareRemoveIcon(window.Get());

    const UniqueCFile out = OpenFile(resultFile, L"wb");
    return out && std::fwrite(marks, sizeof(marks), 1, out.get()) == 1 ? 0 : 1;
}

// The medians of kPairs runs of the steps, in ms, each step from the end of
// the one before it, the first from process creation.
std::string StartStepsLine(int files, const std::wstring& self, const std::wstring& resultFile)
{
    std::vector<double> laps[kStepCount];
    for (int run = 0; run < kPairs; ++run) {
        ::DeleteFileW(resultFile.c_str());
        const Stopwatch watch;
        const UniqueKernelHandle process = Launch(self, std::wstring(kStepsSwitch) + L" \"" + resultFile + L"\"");
        if (!process || ::WaitForSingleObject(process.Get(), kLaunchTimeoutMs) != WAIT_OBJECT_0) continue;
        const UniqueCFile in = OpenFile(resultFile, L"rb");
        LONGLONG marks[kStepCount] = {};
        if (!in || std::fread(marks, sizeof(marks), 1, in.get()) != 1) continue;
        double previous = 0;
        for (int step = 0; step < kStepCount; ++step) {
            const double at = watch.MillisecondsTo(marks[step]);
            laps[step].push_back(at - previous);
            previous = at;
        }
    }
    char cell[16];
    std::snprintf(cell, sizeof(cell), "%7d", files);
    std::string line = cell;
    if (laps[0].empty()) return line + "  no clean run";
    double total = 0;
    for (const std::vector<double>& lap : laps) {
        total += Median(lap);
        std::snprintf(cell, sizeof(cell), " %9.1f", Median(lap));
        line += cell;
    }
    std::snprintf(cell, sizeof(cell), " %9.1f", total);
    return line + cell;
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

// What the start-ups run: the two programs, this bench for the steps, and
// the stand-in desktop service's log.
struct Programs {
    std::wstring lumivane;
    std::wstring bareTray;
    std::wstring self;
    std::wstring desktopLog;
};

// What is printed after the table, per size.
struct Report {
    std::vector<std::string> memory;
    std::vector<std::string> steps;
};

void BenchOneSize(int files, const std::wstring& folder, const Programs& programs, const std::wstring& scratch,
                  Report& report)
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
    report.memory.push_back(MemoryLine(files, "Lumivane", ours));
    report.memory.push_back(MemoryLine(files, "bare", bare));

    StartState state;
    state.desktopLog = programs.desktopLog;
    if (!PrepareStart(folder, player, state)) {
        std::printf("  (could not write the cached list for %ls)\n", folder.c_str());
        return;
    }
    Compare(
        files, "start-up", [&] { return StartUntilShown(programs.lumivane, kLumivaneClass, state); },
        [&] { return StartUntilShown(programs.bareTray, kBareTrayClass, state); });
    // The last start-up saved the picture it showed as the last one.
    state.conf.Save(false);
    report.steps.push_back(StartStepsLine(files, programs.self, scratch + L"\\steps.txt"));
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 3 && std::wstring(argv[1]) == kStepsSwitch) return RunStartSteps(argv[2]);
    if (argc != 5) {
        std::printf("usage: limit_bench LUMIVANE_EXE BARE_TRAY_EXE PICTURES DESKTOP_LOG\n");
        return 2;
    }
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const Programs programs = {argv[1], argv[2], self, argv[4]};
    const std::wstring pictures = argv[3];

    WIN32_FILE_ATTRIBUTE_DATA exe = {};
    ::GetFileAttributesExW(programs.lumivane.c_str(), GetFileExInfoStandard, &exe);
    std::printf("lumivane.exe: %lu bytes (%.1f KB)\n", exe.nFileSizeLow, exe.nFileSizeLow / kBytesPerKilobyte);
    std::printf(
        "Lumivane against the bare Win32 code of bench/; %d interleaved pairs, times are medians, "
        "ratio = Lumivane / bare. A start-up runs from process creation until the icon is in the tray and "
        "the first wallpaper was asked for.\n\n",
        kPairs);
    std::printf("%7s  %-9s %10s %10s %9s %9s %9s\n", "files", "work", "ours ms", "bare ms", "ratio min", "median",
                "max");

    Report report;
    for (int files : kSizes) {
        const std::wstring scratch = pictures + L"\\scratch " + std::to_wstring(files);
        ::CreateDirectoryW(scratch.c_str(), nullptr);
        BenchOneSize(files, pictures + L"\\" + std::to_wstring(files), programs, scratch, report);
    }

    std::printf(
        "\nwhere the start-up goes: the program's steps timed one by one in a fresh process of this bench "
        "(the program's code for lumi.ini, the desktop service, the list and the wallpaper; bare code for the "
        "window and the icon), medians of %d runs in ms, each from the end of the step before, the first from "
        "process creation\n",
        kPairs);
    std::printf("%7s", "files");
    for (const char* name : kStepNames) std::printf(" %9s", name);
    std::printf(" %9s\n", "sum");
    for (const std::string& line : report.steps) std::printf("%s\n", line.c_str());

    std::printf(
        "\nmemory of one load, counting allocator (bytes asked of operator new; peak = most alive during "
        "the load, steady = alive after it)\n");
    std::printf("%7s  %-9s %10s %10s %9s\n", "files", "who", "peak MB", "steady MB", "ratio");
    for (const std::string& line : report.memory) std::printf("%s\n", line.c_str());
    return 0;
}
