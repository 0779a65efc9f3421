// Times the playlist on a folder of 100,000 files: the scan, the list file
// written and read back, and 100,000 steps forward with a recording desktop.
// Prints the figures; asserts nothing.
//
// Under Wine each new file costs a case-insensitive search of the whole
// folder, so making 100,000 of them here takes most of an hour; run.sh makes
// them from the host side and passes the folder as the only argument.

#include "engine/CWallpaperPlayer.h"
#include "tests/support/FakeActiveDesktop.h"
#include "tests/support/TestFiles.h"
#include "win/UniqueHandle.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kFiles = 100000;
constexpr int kSteps = 100000;
constexpr int kOneInTenIsText = 10;
const wchar_t* const kExtensions[] = {L".jpg", L".JPEG", L".png", L".Bmp", L".gif",
                                      L".JPG", L".jpeg", L".PNG", L".bmp"};
constexpr int kExtensionCount = static_cast<int>(sizeof(kExtensions) / sizeof(kExtensions[0]));

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

void MakeFiles(const std::wstring& folder)
{
    for (int i = 0; i < kFiles; ++i) {
        const wchar_t* extension = (i % kOneInTenIsText == 0) ? L".txt" : kExtensions[i % kExtensionCount];
        const std::wstring path = folder + L"\\picture " + std::to_wstring(i) + extension;
        UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    TempDir dir;
    const std::wstring listFile = dir.Join(L"wallpaper.txt");
    std::wstring folder = dir.Join(L"pictures");
    if (argc > 1) {
        folder = argv[1];
    } else {
        ::CreateDirectoryW(folder.c_str(), nullptr);
        Stopwatch making;
        MakeFiles(folder);
        std::printf("created %d files (90%% pictures) in %.0f ms\n", kFiles, making.Milliseconds());
    }

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
