#include "config/FolderTime.h"
#include "engine/CFileFindEx.h"
#include "engine/CWallpaperPlayer.h"
#include "engine/FolderScan.h"
#include "tests/support/FakeActiveDesktop.h"
#include "tests/support/TestFiles.h"
#include "win/PathChars.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr size_t kLongestPath = 259;
constexpr size_t kLevelChars = 40;  // name length of each level of a deep folder
// Seconds between 1601 (file times) and 1970 (the C runtime's times).
constexpr int64_t kEpochDifference = 11644473600LL;
constexpr int64_t kTicksPerSecond = 10000000LL;

std::vector<std::wstring> Sorted(std::vector<std::wstring> paths)
{
    std::sort(paths.begin(), paths.end());
    return paths;
}

// Every entry of the folder as the platform enumerates it, "." and ".." left out.
std::vector<std::wstring> PlatformOrder(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data = {};
    UniqueFind find(::FindFirstFileW((folder + L"\\*.*").c_str(), &data));
    if (!find) return names;
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") names.push_back(folder + L"\\" + name);
    } while (::FindNextFileW(find.Get(), &data));
    return names;
}

bool SetFolderTime(const std::wstring& folder, int64_t secondsSince1970)
{
    UniqueFile handle(::CreateFileW(folder.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle) return false;
    const uint64_t ticks = static_cast<uint64_t>((secondsSince1970 + kEpochDifference) * kTicksPerSecond);
    FILETIME time = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    return ::SetFileTime(handle.Get(), nullptr, nullptr, &time) != FALSE;
}

int64_t FolderTime(const std::wstring& folder)
{
    int64_t modified = 0;
    EXPECT_TRUE(QueryFolderTime(folder, modified)) << Narrow(folder);
    return modified;
}

CFolderEntry Entry(const std::wstring& path, const std::wstring& time)
{
    CFolderEntry entry;
    entry.path = path;
    entry.time = time;
    return entry;
}

class DiscoveryTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(player.InitWith(ComPtr<IActiveDesktop>(fake.Share()))); }

    std::wstring MakeFolder(const std::wstring& name, const std::vector<std::wstring>& files)
    {
        const std::wstring folder = dir.Join(name);
        ::CreateDirectoryW(folder.c_str(), nullptr);
        for (const std::wstring& file : files) WriteBytes(folder + L"\\" + file, "x");
        return folder;
    }

    // A real folder, made level by level, whose path is longer than the limit.
    std::wstring MakeDeepFolder()
    {
        std::wstring deep = dir.Join(L"deep");
        ::CreateDirectoryW(deep.c_str(), nullptr);
        while (deep.size() <= kLongestPath) {
            deep += L"\\" + std::wstring(kLevelChars, L'd');
            EXPECT_TRUE(::CreateDirectoryW(deep.c_str(), nullptr)) << "level ending at " << deep.size();
        }
        WriteBytes(deep + L"\\a.jpg", "x");
        return deep;
    }

    // The list in order, as stepping through it from a fresh player shows it.
    std::vector<std::wstring> Listed()
    {
        EXPECT_EQ(-1, player.GetPosition());
        fake.calls.clear();
        for (int i = 0; i < player.GetCount(); ++i) player.Next();
        return fake.Shown();
    }

    TempDir dir;
    FakeActiveDesktop fake;
    CWallpaperPlayer player;
};

TEST_F(DiscoveryTest, ListsPictureFilesByNameInEnumerationOrder)
{
    const std::wstring folder = MakeFolder(L"mixed", {L"a.JPG", L"b.jpeg", L"c.Gif", L"d.txt", L"e"});
    ::CreateDirectoryW((folder + L"\\f.png").c_str(), nullptr);
    WriteBytes(folder + L"\\f.png\\inside.jpg", "x");

    ASSERT_TRUE(player.ScanFolder(folder.c_str()));
    const std::vector<std::wstring> listed = Listed();
    const std::vector<std::wstring> expected = {folder + L"\\a.JPG", folder + L"\\b.jpeg", folder + L"\\c.Gif"};
    EXPECT_EQ(Show(expected), Show(Sorted(listed)));

    std::vector<std::wstring> platform = PlatformOrder(folder);
    std::erase_if(platform,
                  [&](const std::wstring& p) { return std::count(expected.begin(), expected.end(), p) == 0; });
    EXPECT_EQ(Show(platform), Show(listed)) << "the platform's order, unsorted";
}

TEST_F(DiscoveryTest, TrailingBackslashGivesTheSamePaths)
{
    const std::wstring folder = MakeFolder(L"pics", {L"a.jpg", L"b.png"});
    ASSERT_TRUE(player.ScanFolder(folder.c_str()));
    ASSERT_TRUE(player.ScanFolder((folder + L"\\").c_str()));
    const std::vector<std::wstring> listed = Listed();
    ASSERT_EQ(4u, listed.size()) << Show(listed);
    EXPECT_EQ(Show({listed[0], listed[1]}), Show({listed[2], listed[3]}));
    EXPECT_EQ(Show({folder + L"\\a.jpg", folder + L"\\b.png"}), Show(Sorted({listed[0], listed[1]})));
}

TEST_F(DiscoveryTest, FullPathsLongerThanTheLimitAreLeftOut)
{
    const std::wstring folder = MakeFolder(L"long", {});
    const size_t room = kLongestPath - folder.size() - 1;  // characters left for the name
    ASSERT_GT(room, 10u);
    const std::wstring fits = std::wstring(room - 4, L'a') + L".jpg";
    const std::wstring oneOver = std::wstring(room - 3, L'b') + L".jpg";
    const std::wstring farOver = std::wstring(room + 20, L'c') + L".jpg";
    for (const std::wstring& name : {fits, oneOver, farOver}) {
        ASSERT_TRUE(WriteBytes(folder + L"\\" + name, "x")) << "name of " << name.size();
    }

    ASSERT_TRUE(player.ScanFolder(folder.c_str()));
    const std::vector<std::wstring> listed = Listed();
    ASSERT_EQ(1u, listed.size()) << Show(listed);
    EXPECT_EQ(folder + L"\\" + fits, listed[0]);
    EXPECT_EQ(kLongestPath, listed[0].size());
}

TEST_F(DiscoveryTest, FolderThatCannotBeScannedAddsNothing)
{
    const std::wstring kept = MakeFolder(L"kept", {L"a.jpg"});
    ASSERT_TRUE(player.ScanFolder(kept.c_str()));
    const std::wstring file = kept + L"\\a.jpg";
    // A real folder the platform finds, so the length check is what refuses it.
    const std::wstring tooLong = MakeDeepFolder();
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(tooLong.c_str())) << tooLong.size() << " characters";
    for (const std::wstring& path : {dir.Join(L"missing"), file, tooLong, std::wstring()}) {
        EXPECT_FALSE(player.ScanFolder(path.c_str())) << Narrow(path);
    }
    EXPECT_FALSE(player.ScanFolder(nullptr));
    EXPECT_EQ(1, player.GetCount());

    RemoveTree(dir.Join(L"deep"));
    EXPECT_FALSE(FileIsThere(dir.Join(L"deep"))) << "the deep folder is cleaned up";
}

TEST_F(DiscoveryTest, FolderWithoutPicturesIsScannedEmpty)
{
    const std::wstring empty = MakeFolder(L"empty", {});
    const std::wstring text = MakeFolder(L"text", {L"read.me", L"photo.jpg.txt"});
    EXPECT_TRUE(player.ScanFolder(empty.c_str()));
    EXPECT_TRUE(player.ScanFolder(text.c_str()));
    EXPECT_EQ(0, player.GetCount());
}

TEST(IsPicture, JudgesTheExtensionOfTheFileName)
{
    struct Case {
        const wchar_t* path;
        bool expected;
    } const cases[] = {
        {L"C:\\P\\Sea.JPG", true},
        {L"C:\\P\\a.b.gif", true},
        {L"C:\\P\\x.jpeg", true},
        {L"C:\\P\\x.BMP", true},
        {L"C:\\P\\my pic.png", true},
        {L"C:\\P\\photo.jpe", false},
        {L"C:\\P\\photo.tif", false},
        {L"C:\\P\\photo.jpg.txt", false},
        {L"C:\\P\\nodot", false},
        {L"C:\\P.jpg\\nodot", false},
        {L"", false},
        {nullptr, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, CWallpaperPlayer::IsPicture(c.path))
            << testing::PrintToString(std::wstring(c.path ? c.path : L"null"));
    }
}

TEST(CFileFindEx, YieldsEveryEntryOnceWithoutDotEntries)
{
    TempDir dir;
    for (const wchar_t* name : {L"one", L"two.jpg"}) WriteBytes(dir.Join(name), "x");
    ::CreateDirectoryW(dir.Join(L"sub").c_str(), nullptr);

    CFileFindEx find(dir.Path().c_str(), L"*.*");
    ASSERT_TRUE(find.IsValid());
    std::vector<std::wstring> found;
    wchar_t buffer[kPathChars] = {};
    while (find.FindNext(buffer)) found.push_back(buffer);
    EXPECT_EQ(Show({dir.Join(L"one"), dir.Join(L"sub"), dir.Join(L"two.jpg")}), Show(Sorted(found)));
    EXPECT_FALSE(find.FindNext(buffer)) << "stays at the end";
}

TEST_F(DiscoveryTest, RescanListsFoldersInOrderAndStampsTheirTimes)
{
    const std::wstring a = MakeFolder(L"A", {L"a1.jpg", L"a2.png"});
    const std::wstring b = MakeFolder(L"B", {L"b1.jpg", L"b2.gif"});
    std::vector<CFolderEntry> folders = {Entry(b, L""), Entry(dir.Join(L"gone"), L"123"), Entry(a, L"5")};

    RescanFolders(player, folders);
    const std::vector<std::wstring> listed = Listed();
    ASSERT_EQ(4u, listed.size()) << Show(listed);
    EXPECT_EQ(Show({b + L"\\b1.jpg", b + L"\\b2.gif"}), Show(Sorted({listed[0], listed[1]})));
    EXPECT_EQ(Show({a + L"\\a1.jpg", a + L"\\a2.png"}), Show(Sorted({listed[2], listed[3]})));

    EXPECT_EQ(FormatFolderTime(FolderTime(b)), folders[0].time);
    EXPECT_EQ(L"123", folders[1].time) << "a missing folder keeps its time";
    EXPECT_EQ(FormatFolderTime(FolderTime(a)), folders[2].time);
}

TEST_F(DiscoveryTest, RescanReplacesTheListAndKeepsThePosition)
{
    const std::wstring a = MakeFolder(L"A", {L"1.jpg", L"2.jpg", L"3.jpg"});
    std::vector<CFolderEntry> folders = {Entry(a, L"")};
    RescanFolders(player, folders);
    player.Next();
    player.Next();
    ::DeleteFileW((a + L"\\1.jpg").c_str());
    ::DeleteFileW((a + L"\\2.jpg").c_str());

    RescanFolders(player, folders);
    EXPECT_EQ(1, player.GetCount());
    EXPECT_EQ(1, player.GetPosition());
}

TEST_F(DiscoveryTest, StampsTheTimeOfAFolderWithTrailingBackslash)
{
    const std::wstring a = MakeFolder(L"A", {L"1.jpg"});
    std::vector<CFolderEntry> folders = {Entry(a + L"\\", L"")};
    RescanFolders(player, folders);
    EXPECT_EQ(FormatFolderTime(FolderTime(a)), folders[0].time);
    EXPECT_FALSE(TestFoldersChanged(folders));
}

TEST_F(DiscoveryTest, ChangeTestStopsAtTheFirstChangedFolder)
{
    const std::wstring a = MakeFolder(L"A", {});
    const std::wstring b = MakeFolder(L"B", {});
    const std::wstring c = MakeFolder(L"C", {});
    std::vector<CFolderEntry> folders = {Entry(dir.Join(L"gone"), L""), Entry(a, FormatFolderTime(FolderTime(a))),
                                         Entry(b, L""), Entry(c, L"")};
    EXPECT_TRUE(TestFoldersChanged(folders));
    EXPECT_FALSE(folders[0].changed) << "a missing folder counts as unchanged";
    EXPECT_FALSE(folders[1].changed);
    EXPECT_TRUE(folders[2].changed);
    EXPECT_FALSE(folders[3].changed) << "not looked at";
}

TEST_F(DiscoveryTest, FolderModifiedAfter2038IsAlwaysChanged)
{
    constexpr int64_t k2040 = 2208988800LL;  // 2040-01-01 00:00 UTC
    const std::wstring folder = MakeFolder(L"A", {L"a.jpg"});
    ASSERT_TRUE(SetFolderTime(folder, k2040));
    ASSERT_EQ(k2040, FolderTime(folder));

    std::vector<CFolderEntry> folders = {Entry(folder, L"")};
    RescanFolders(player, folders);
    EXPECT_EQ(L"-2085978496", folders[0].time);
    EXPECT_TRUE(TestFoldersChanged(folders));
}

class StartUpChoiceTest : public DiscoveryTest {
protected:
    void SetUp() override
    {
        DiscoveryTest::SetUp();
        folder = MakeFolder(L"A", {L"a.jpg"});
        stamped = {Entry(folder, FormatFolderTime(FolderTime(folder)))};
    }

    std::wstring folder;
    std::vector<CFolderEntry> stamped;
    std::wstring listFile = dir.Join(L"wallpaper.txt");
};

TEST_F(StartUpChoiceTest, UnchangedFoldersAndEmptyListFileStartEmpty)
{
    WriteBytes(listFile, "");
    EXPECT_FALSE(LoadOrRescanFolders(player, stamped, listFile.c_str()));
    EXPECT_EQ(0, player.GetCount());
}

TEST_F(StartUpChoiceTest, MissingListFileRebuilds)
{
    EXPECT_TRUE(LoadOrRescanFolders(player, stamped, listFile.c_str()));
    EXPECT_EQ(Show({folder + L"\\a.jpg"}), Show(Listed()));
}

TEST_F(StartUpChoiceTest, MissingFolderNeitherForcesNorStopsARebuild)
{
    WriteBytes(listFile, "C:\\Kept\\x.jpg\r\n");
    std::vector<CFolderEntry> folders = {Entry(dir.Join(L"gone"), L""), stamped[0]};
    EXPECT_FALSE(LoadOrRescanFolders(player, folders, listFile.c_str()));

    folders[1].time.clear();
    EXPECT_TRUE(LoadOrRescanFolders(player, folders, listFile.c_str()));
    EXPECT_EQ(1, player.GetCount());
}

}  // namespace
