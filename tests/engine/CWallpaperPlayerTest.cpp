#include "engine/CWallpaperPlayer.h"
#include "tests/support/FakeActiveDesktop.h"
#include "tests/support/RegistryBackup.h"
#include "tests/support/TestFiles.h"
#include "win/ScopedComInit.h"
#include "win/UniqueHandle.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

namespace {

using Kind = FakeActiveDesktop::Kind;

constexpr DWORD kOptionsSize = 8;
constexpr DWORD kApplyAll = 7;
const wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

std::wstring ReadDesktopValue(const wchar_t* name)
{
    wchar_t value[MAX_PATH * 2] = {};
    DWORD bytes = sizeof(value);
    if (::RegGetValueW(HKEY_CURRENT_USER, kDesktopKey, name, RRF_RT_REG_SZ, nullptr, value, &bytes) != ERROR_SUCCESS) {
        return L"(missing)";
    }
    return value;
}

// Puts the user's wallpaper settings back as they were before the test.
struct DesktopSettingsRestore {
    RegistryBackup wallpaper{kDesktopKey, L"Wallpaper"};
    RegistryBackup style{kDesktopKey, L"WallpaperStyle"};
    RegistryBackup tile{kDesktopKey, L"TileWallpaper"};
};

std::string Describe(const std::vector<FakeActiveDesktop::Call>& calls)
{
    std::string text;
    for (const FakeActiveDesktop::Call& call : calls) {
        switch (call.kind) {
        case Kind::SetWallpaper:
            text += "SetWallpaper(" + Narrow(call.path) + ") ";
            break;
        case Kind::SetWallpaperOptions:
            text += "SetWallpaperOptions(style " + std::to_string(call.style) + ") ";
            break;
        case Kind::ApplyChanges:
            text += "ApplyChanges(" + std::to_string(call.flags) + ") ";
            break;
        }
    }
    return text;
}

class CWallpaperPlayerTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(player.InitWith(ComPtr<IActiveDesktop>(fake.Share())));
        player.SetStyle(Center);
    }

    // Fills the list through the list file, one ASCII path per line.
    void Fill(const std::vector<std::wstring>& paths)
    {
        std::string bytes;
        for (const std::wstring& path : paths) bytes += Narrow(path) + "\r\n";
        const std::wstring file = dir.Join(L"list.txt");
        ASSERT_TRUE(WriteBytes(file, bytes));
        ASSERT_TRUE(player.LoadList(file.c_str()));
        ASSERT_EQ(static_cast<int>(paths.size()), player.GetCount());
    }

    // Moves to `position` with Next and forgets what that showed.
    void MoveTo(int position)
    {
        while (player.GetPosition() != position) ASSERT_TRUE(player.Next());
        fake.calls.clear();
    }

    // Real files named 0.jpg ... in the temporary folder, listed in that order.
    std::vector<std::wstring> MakeFiles(int count)
    {
        std::vector<std::wstring> paths;
        for (int i = 0; i < count; ++i) {
            paths.push_back(dir.Join(std::to_wstring(i) + L".jpg"));
            WriteBytes(paths.back(), "picture");
        }
        return paths;
    }

    TempDir dir;
    FakeActiveDesktop fake;  // outlives the player, which holds a reference
    CWallpaperPlayer player;
    const std::vector<std::wstring> three = {L"C:\\P\\0.jpg", L"C:\\P\\1.jpg", L"C:\\P\\2.jpg"};
};

TEST_F(CWallpaperPlayerTest, ShowAppliesPathThenStyleThenAllChanges)
{
    Fill(three);
    player.SetStyle(Stretch);
    EXPECT_TRUE(fake.calls.empty()) << "a new style alone shows nothing: " << Describe(fake.calls);
    ASSERT_TRUE(player.Next());

    ASSERT_EQ(3u, fake.calls.size()) << Describe(fake.calls);
    EXPECT_EQ(Kind::SetWallpaper, fake.calls[0].kind);
    EXPECT_EQ(three[0], fake.calls[0].path);
    EXPECT_EQ(0u, fake.calls[0].reserved);
    EXPECT_EQ(Kind::SetWallpaperOptions, fake.calls[1].kind);
    EXPECT_EQ(kOptionsSize, fake.calls[1].size);
    EXPECT_EQ(static_cast<DWORD>(Stretch), fake.calls[1].style);
    EXPECT_EQ(0u, fake.calls[1].reserved);
    EXPECT_EQ(Kind::ApplyChanges, fake.calls[2].kind);
    EXPECT_EQ(kApplyAll, fake.calls[2].flags);
}

TEST_F(CWallpaperPlayerTest, StepsWrapAtBothEnds)
{
    Fill(three);
    ASSERT_TRUE(player.Next()) << "from no picture to the first";
    ASSERT_TRUE(player.Next());
    ASSERT_TRUE(player.Next());
    ASSERT_TRUE(player.Next()) << "from the last to the first";
    ASSERT_TRUE(player.Previous()) << "from the first to the last";
    EXPECT_EQ(2, player.GetPosition());
    EXPECT_EQ((std::vector<std::wstring>{three[0], three[1], three[2], three[0], three[2]}), fake.Shown())
        << Describe(fake.calls);

    CWallpaperPlayer fresh;
    fresh.InitWith(ComPtr<IActiveDesktop>(fake.Share()));
    fresh.LoadList(dir.Join(L"list.txt").c_str());
    ASSERT_TRUE(fresh.Previous()) << "from no picture to the last";
    EXPECT_EQ(three[2], fresh.GetCurrent());
}

TEST_F(CWallpaperPlayerTest, EmptyListStepsShowNothing)
{
    EXPECT_FALSE(player.Next());
    EXPECT_FALSE(player.Previous());
    EXPECT_EQ(-1, player.GetPosition());
    EXPECT_EQ(L"", player.GetCurrent());
    EXPECT_TRUE(fake.calls.empty()) << Describe(fake.calls);
}

TEST_F(CWallpaperPlayerTest, ResultIsWhatApplyingReports)
{
    Fill(three);
    fake.applyResult = E_FAIL;
    EXPECT_FALSE(player.Next());
    EXPECT_EQ(0, player.GetPosition()) << "the step happens even when applying fails";

    // The first two calls' results are not looked at.
    fake.applyResult = S_FALSE;
    fake.setWallpaperResult = E_FAIL;
    fake.setOptionsResult = E_INVALIDARG;
    EXPECT_TRUE(player.Next());
}

TEST_F(CWallpaperPlayerTest, SetCurrentPathMatchesExactlyAndShowsNothing)
{
    Fill({L"C:\\P\\a.jpg", L"C:\\P\\B.jpg", L"C:\\P\\b.jpg", L"C:\\P\\B.jpg"});
    struct Case {
        const wchar_t* path;
        int expected;
    } const cases[] = {
        {L"C:\\P\\b.jpg", 2},
        {L"C:\\P\\B.jpg", 1},  // the first of two equal entries
        {L"c:\\p\\a.jpg", 1},  // differs in case only: position kept
        {L"C:\\P\\a", 1},      // a prefix is not the path
        {L"", 1},
        {nullptr, 1},
    };
    for (const Case& c : cases) {
        player.SetCurrentPath(c.path);
        EXPECT_EQ(c.expected, player.GetPosition()) << testing::PrintToString(std::wstring(c.path ? c.path : L"null"));
    }
    EXPECT_TRUE(fake.calls.empty()) << Describe(fake.calls);
}

TEST_F(CWallpaperPlayerTest, GoToPathShowsFirstEntryInFolderWithoutCase)
{
    Fill({L"C:\\Pics2\\a.jpg", L"C:\\Other\\b.jpg", L"C:\\Pics\\c.jpg", L"C:\\Pics\\d.jpg"});
    player.GoToPath(L"c:\\PICS\\");
    EXPECT_EQ(2, player.GetPosition());
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\Pics\\c.jpg"}), fake.Shown()) << Describe(fake.calls);
}

TEST_F(CWallpaperPlayerTest, GoToPathWithoutMatchChangesNothing)
{
    Fill({L"C:\\Pics2\\a.jpg", L"C:\\P"});
    MoveTo(0);
    for (const wchar_t* text : {L"C:\\Pics\\", L"C:\\P\\", L"", static_cast<const wchar_t*>(nullptr)}) {
        player.GoToPath(text);
        EXPECT_EQ(0, player.GetPosition()) << testing::PrintToString(std::wstring(text ? text : L"null"));
    }
    EXPECT_TRUE(fake.calls.empty()) << Describe(fake.calls);
}

TEST_F(CWallpaperPlayerTest, DeleteTableOfSixEntries)
{
    struct Case {
        int position, index;
        int expectedPosition;
        int shownFormer;  // former index of the picture shown, or -1 for none
    } const cases[] = {
        {3, 1, 2, -1},
        {3, 3, 3, 4},
        {3, 5, 3, -1},
        {5, 5, 0, 0},
    };
    for (const Case& c : cases) {
        const std::vector<std::wstring> paths = MakeFiles(6);
        Fill(paths);
        player.SetCurrentPath(paths[static_cast<size_t>(c.position)].c_str());
        fake.calls.clear();

        const std::string where = "position " + std::to_string(c.position) + ", delete " + std::to_string(c.index);
        ASSERT_TRUE(player.DeletePicture(c.index)) << where;
        EXPECT_FALSE(FileIsThere(paths[static_cast<size_t>(c.index)])) << where;
        EXPECT_EQ(5, player.GetCount()) << where;
        EXPECT_EQ(c.expectedPosition, player.GetPosition()) << where;
        const std::vector<std::wstring> shown =
            c.shownFormer < 0 ? std::vector<std::wstring>{}
                              : std::vector<std::wstring>{paths[static_cast<size_t>(c.shownFormer)]};
        EXPECT_EQ(shown, fake.Shown()) << where << ": " << Describe(fake.calls);
    }
}
TEST_F(CWallpaperPlayerTest, DeleteOutsideTheListDeletesNothing)
{
    const std::vector<std::wstring> paths = MakeFiles(2);
    Fill(paths);
    for (int index : {-1, 2, 3}) {
        EXPECT_FALSE(player.DeletePicture(index)) << "index " << index;
    }
    EXPECT_EQ(2, player.GetCount());
    EXPECT_TRUE(FileIsThere(paths[0]) && FileIsThere(paths[1]));
}

TEST_F(CWallpaperPlayerTest, FileThatCannotBeDeletedKeepsTheList)
{
    const std::vector<std::wstring> paths = MakeFiles(3);
    Fill(paths);
    MoveTo(1);
    ::DeleteFileW(paths[0].c_str());  // gone already
    UniqueFile inUse(
        ::CreateFileW(paths[1].c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(inUse.IsValid());

    EXPECT_FALSE(player.DeletePicture(0));
    EXPECT_FALSE(player.DeletePicture(1));
    EXPECT_EQ(3, player.GetCount());
    EXPECT_EQ(1, player.GetPosition());
    EXPECT_EQ(paths[1], player.GetCurrent());
    EXPECT_TRUE(fake.calls.empty()) << Describe(fake.calls);
}

TEST_F(CWallpaperPlayerTest, DeletingTheOnlyEntryShowsNothing)
{
    const std::vector<std::wstring> paths = MakeFiles(1);
    Fill(paths);
    MoveTo(0);
    EXPECT_TRUE(player.DeletePicture(0));
    EXPECT_EQ(0, player.GetCount());
    EXPECT_EQ(0, player.GetPosition());
    EXPECT_EQ(L"", player.GetCurrent());
    EXPECT_TRUE(fake.calls.empty()) << Describe(fake.calls);
}

TEST_F(CWallpaperPlayerTest, WithoutServiceStepsAndDeletesButNeverShowsOrScans)
{
    const std::vector<std::wstring> paths = MakeFiles(2);
    Fill(paths);
    CWallpaperPlayer bare;
    EXPECT_FALSE(bare.InitWith(ComPtr<IActiveDesktop>()));
    EXPECT_FALSE(bare.ScanFolder(dir.Path().c_str()));
    ASSERT_TRUE(bare.LoadList(dir.Join(L"list.txt").c_str()));
    EXPECT_FALSE(bare.Next()) << "nothing can be shown";
    EXPECT_EQ(0, bare.GetPosition()) << "but the step is taken";
    EXPECT_TRUE(bare.DeletePicture(0));
    EXPECT_EQ(paths[1], bare.GetCurrent());
}

TEST_F(CWallpaperPlayerTest, PositionPastTheEndAfterShorterRebuild)
{
    Fill({L"C:\\P\\0.jpg", L"C:\\P\\1.jpg", L"C:\\P\\2.jpg", L"C:\\P\\3.jpg"});
    MoveTo(3);
    player.Clear();
    EXPECT_EQ(3, player.GetPosition());
    Fill({L"C:\\Q\\0.jpg", L"C:\\Q\\1.jpg"});

    EXPECT_EQ(3, player.GetPosition());
    EXPECT_EQ(L"", player.GetCurrent());
    EXPECT_FALSE(player.ShowCurrent()) << "nothing sits at that position";
    EXPECT_TRUE(player.Next());
    EXPECT_EQ(0, player.GetPosition());
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\Q\\0.jpg"}), fake.Shown()) << Describe(fake.calls);
}

TEST_F(CWallpaperPlayerTest, PreviousFromPastTheEndShowsTheLastEntry)
{
    Fill({L"C:\\P\\0.jpg", L"C:\\P\\1.jpg", L"C:\\P\\2.jpg", L"C:\\P\\3.jpg"});
    MoveTo(3);
    Fill({L"C:\\Q\\0.jpg", L"C:\\Q\\1.jpg"});
    EXPECT_TRUE(player.Previous());
    EXPECT_EQ(1, player.GetPosition());
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\Q\\1.jpg"}), fake.Shown()) << Describe(fake.calls);
}

// Where the service is a stub, the picture still reaches the desktop through the system call.
class StubDesktopTest : public CWallpaperPlayerTest {
protected:
    DesktopSettingsRestore restore;
};

TEST_F(StubDesktopTest, AnyNotImplementedAnswerFallsBackToSystemCall)
{
    struct Case {
        HRESULT setWallpaper, setOptions, apply;
        WallpaperStyle style;
        const wchar_t* wallpaperStyle;
        const wchar_t* tileWallpaper;
    } const cases[] = {
        {E_NOTIMPL, E_NOTIMPL, E_NOTIMPL, Center, L"0", L"0"},
        {E_NOTIMPL, S_OK, S_OK, Tile, L"0", L"1"},
        {S_OK, E_NOTIMPL, S_OK, Stretch, L"2", L"0"},
        {S_OK, S_OK, E_NOTIMPL, Tile, L"0", L"1"},
    };
    const std::vector<std::wstring> paths = MakeFiles(static_cast<int>(std::size(cases)));
    Fill(paths);
    int index = 0;
    for (const Case& c : cases) {
        fake.setWallpaperResult = c.setWallpaper;
        fake.setOptionsResult = c.setOptions;
        fake.applyResult = c.apply;
        player.SetStyle(c.style);
        EXPECT_TRUE(player.Next()) << "case " << index;
        EXPECT_EQ(paths[static_cast<size_t>(index)], ReadDesktopValue(L"Wallpaper")) << "case " << index;
        EXPECT_EQ(c.wallpaperStyle, ReadDesktopValue(L"WallpaperStyle")) << "case " << index;
        EXPECT_EQ(c.tileWallpaper, ReadDesktopValue(L"TileWallpaper")) << "case " << index;
        ++index;
    }
}

TEST_F(StubDesktopTest, WorkingServiceLeavesSystemSettingsAlone)
{
    Fill(three);
    const std::wstring before = ReadDesktopValue(L"Wallpaper");
    ASSERT_NE(three[0], before);
    EXPECT_TRUE(player.Next());
    EXPECT_EQ(before, ReadDesktopValue(L"Wallpaper"));
}

TEST_F(StubDesktopTest, ClearWallpaperEmptiesTheSettingAndKeepsTheList)
{
    const std::vector<std::wstring> paths = MakeFiles(2);
    Fill(paths);
    fake.applyResult = E_NOTIMPL;
    ASSERT_TRUE(player.Next());
    ASSERT_EQ(paths[0], ReadDesktopValue(L"Wallpaper"));

    player.ClearWallpaper();
    EXPECT_EQ(L"", ReadDesktopValue(L"Wallpaper"));
    EXPECT_EQ(2, player.GetCount());
    EXPECT_EQ(0, player.GetPosition());
}

TEST_F(StubDesktopTest, ShellDesktopObjectShowsThePicture)
{
    const ScopedComInit com;
    const std::vector<std::wstring> paths = MakeFiles(1);
    CWallpaperPlayer real;
    ASSERT_TRUE(real.Init());
    Fill(paths);
    ASSERT_TRUE(real.LoadList(dir.Join(L"list.txt").c_str()));
    real.SetStyle(Stretch);
    EXPECT_TRUE(real.Next());
    // Wine's object is a stub, so the picture reaches the desktop through the system call.
    EXPECT_EQ(paths[0], ReadDesktopValue(L"Wallpaper"));
}

}  // namespace
