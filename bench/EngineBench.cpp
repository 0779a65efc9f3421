// Times the playlist on a folder of 100,000 files: the scan, the list file
// written and read back, and 100,000 steps forward with a recording desktop.
// Prints the figures; asserts nothing.
//
// Under Wine each new file costs a case-insensitive search of the whole
// folder, so making 100,000 of them here would take most of an hour; run.sh
// makes them from the host side and passes the folder as the only argument.

#include "bench/Stopwatch.h"
#include "engine/CWallpaperPlayer.h"
#include "tests/support/FakeActiveDesktop.h"
#include "tests/support/TestFiles.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kSteps = 100000;

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::printf("usage: engine_bench PICTURES\n");
        return 2;
    }
    const std::wstring folder = argv[1];
    TempDir dir;
    const std::wstring listFile = dir.Join(L"wallpaper.txt");

    FakeActiveDesktop fake;
    {
        CWallpaperPlayer player;
        player.InitWith(ComPtr<IActiveDesktop>(fake.Share()));
        player.SetStyle(Tile);

        Stopwatch scan;
        const bool scanned = player.ScanFolder(folder.c_str());
        std::printf("ScanFolder: %.1f ms, %d entries%s\n", scan.Milliseconds(), player.GetCount(),
                    scanned ? "" : " (scan refused)");

        Stopwatch save;
        const bool saved = player.SaveList(listFile.c_str());
        // Stopped before the file is read back, so the read never counts as saving time.
        const double saveMs = save.Milliseconds();
        std::printf("SaveList: %.1f ms, %zu bytes%s\n", saveMs, ReadBytes(listFile).size(), saved ? "" : " (failed)");

        player.Clear();
        Stopwatch load;
        const bool loaded = player.LoadList(listFile.c_str());
        std::printf("LoadList: %.1f ms, %d entries%s\n", load.Milliseconds(), player.GetCount(),
                    loaded ? "" : " (failed)");

        Stopwatch steps;
        for (int i = 0; i < kSteps; ++i) player.Next();
        std::printf("%d x Next: %.1f ms, %zu desktop calls recorded, position %d\n", kSteps, steps.Milliseconds(),
                    fake.calls.size(), player.GetPosition());
    }
    return 0;
}
