#include "engine/CWallpaperPlayer.h"
#include "engine/PictureListFile.h"
#include "tests/support/FakeActiveDesktop.h"
#include "tests/support/TestFiles.h"
#include "win/UniqueHandle.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr unsigned kWestern = 1252;
constexpr unsigned kSimplifiedChinese = 936;
const char kBom[] = "\xEF\xBB\xBF";
// A ctest registration names the code page its locale must give, so a missing
// locale fails that run instead of skipping every test written for it.
const wchar_t kRequiredCodePageVariable[] = L"LUMI_REQUIRE_ACP";
constexpr DWORD kNumberChars = 16;

std::string Hex(const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned char b : bytes) {
        if (b >= 0x20 && b < 0x7F) {
            text += static_cast<char>(b);
        } else {
            text += "<";
            text += digits[b >> 4];
            text += digits[b & 0xF];
            text += ">";
        }
    }
    return text;
}

unsigned RequiredCodePage()
{
    wchar_t text[kNumberChars] = {};
    const DWORD length = ::GetEnvironmentVariableW(kRequiredCodePageVariable, text, kNumberChars);
    if (length == 0 || length >= kNumberChars) return 0;
    return static_cast<unsigned>(std::wcstoul(text, nullptr, 10));
}

// Whether this run's locale gives the code page. The answer comes from the
// platform, never from the function under test, so a wrong ListFileCodePage()
// cannot turn its own tests into skips.
bool RunsUnderCodePage(unsigned codePage)
{
    const unsigned active = ::GetACP();
    if (RequiredCodePage() == codePage && active != codePage) {
        ADD_FAILURE() << "this run needs code page " << codePage << " but the locale gives " << active;
    }
    return active == codePage;
}

class ListFileTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(player.InitWith(ComPtr<IActiveDesktop>(fake.Share()))); }

    // Puts exactly these entries in the list.
    void Hold(const std::vector<std::wstring>& paths)
    {
        ASSERT_TRUE(WritePictureList(seed.c_str(), paths));
        ASSERT_TRUE(player.LoadList(seed.c_str()));
        ASSERT_EQ(static_cast<int>(paths.size()), player.GetCount());
    }

    // The entries in order, as stepping through them shows them.
    std::vector<std::wstring> Entries(CWallpaperPlayer& which)
    {
        fake.calls.clear();
        which.SetCurrentPath(nullptr);
        std::vector<std::wstring> paths;
        for (int i = 0; i < which.GetCount(); ++i) {
            which.Next();
            paths.push_back(which.GetCurrent());
        }
        return paths;
    }

    std::vector<std::wstring> Load(const std::string& bytes)
    {
        EXPECT_TRUE(WriteBytes(file, bytes));
        CWallpaperPlayer reader;
        EXPECT_TRUE(reader.LoadList(file.c_str())) << Hex(bytes);
        return Entries(reader);
    }

    TempDir dir;
    std::wstring file = dir.Join(L"wallpaper.txt");
    std::wstring seed = dir.Join(L"seed.txt");
    FakeActiveDesktop fake;
    CWallpaperPlayer player;
};

TEST_F(ListFileTest, WritesOnePathPerLineWithCarriageReturnLineFeed)
{
    Hold({L"C:\\P\\a.jpg", L"C:\\P\\b.png"});
    for (int save = 1; save <= 2; ++save) {
        ASSERT_TRUE(player.SaveList(file.c_str())) << "save " << save;
        EXPECT_EQ(Hex("C:\\P\\a.jpg\r\nC:\\P\\b.png\r\n"), Hex(ReadBytes(file))) << "save " << save;
    }
}

TEST_F(ListFileTest, EmptyListIsAnEmptyFile)
{
    ASSERT_TRUE(player.SaveList(file.c_str()));
    EXPECT_TRUE(FileIsThere(file));
    EXPECT_EQ("", Hex(ReadBytes(file)));
    Hold({L"C:\\x.jpg"});
    EXPECT_TRUE(player.LoadList(file.c_str()));
    EXPECT_EQ(0, player.GetCount());
}

TEST_F(ListFileTest, EmptyEntryIsAnEmptyLine)
{
    Hold({L"C:\\a.jpg", L"", L"C:\\b.jpg"});
    ASSERT_TRUE(player.SaveList(file.c_str()));
    EXPECT_EQ(Hex("C:\\a.jpg\r\n\r\nC:\\b.jpg\r\n"), Hex(ReadBytes(file)));
}

TEST_F(ListFileTest, ReadsLinesAsWritten)
{
    // Line splitting has its own table among the playlist rules; here the reader must use it and trim nothing.
    EXPECT_EQ(Show({L" C:\\a.jpg ", L"", L"C:\\b.jpg"}), Show(Load(" C:\\a.jpg \r\n\r\nC:\\b.jpg")));
}

TEST_F(ListFileTest, MissingFileLeavesTheListAlone)
{
    Hold({L"C:\\a.jpg", L"C:\\b.jpg"});
    EXPECT_FALSE(player.LoadList(dir.Join(L"missing.txt").c_str()));
    EXPECT_FALSE(player.LoadList(dir.Path().c_str())) << "a folder is no list";
    EXPECT_FALSE(player.LoadList(nullptr));
    EXPECT_EQ(2, player.GetCount());
}

TEST_F(ListFileTest, LoadingReplacesTheList)
{
    Hold({L"C:\\a.jpg", L"C:\\b.jpg", L"C:\\c.jpg"});
    WriteBytes(file, "D:\\z.png\r\n");
    ASSERT_TRUE(player.LoadList(file.c_str()));
    EXPECT_EQ(Show({L"D:\\z.png"}), Show(Entries(player)));
}

TEST_F(ListFileTest, UnrepresentablePathMakesTheWholeFileUtf8)
{
    if (RunsUnderCodePage(CP_UTF8)) GTEST_SKIP() << "every path is representable in UTF-8";
    // Thai has no place in the Western or the Chinese code pages.
    const std::vector<std::wstring> paths = {L"C:\\P\\a.jpg", L"C:\\\u0E01\\b.jpg", L"C:\\P\\c.jpg"};
    Hold(paths);
    ASSERT_TRUE(player.SaveList(file.c_str()));
    EXPECT_EQ(Hex(std::string(kBom) + "C:\\P\\a.jpg\r\nC:\\\xE0\xB8\x81\\b.jpg\r\nC:\\P\\c.jpg\r\n"),
              Hex(ReadBytes(file)));

    CWallpaperPlayer reader;
    ASSERT_TRUE(reader.LoadList(file.c_str()));
    EXPECT_EQ(Show(paths), Show(Entries(reader)));
}

// Long enough to be converted in several pieces: the file is still one
// encoding throughout, decided by every path, the last one too.
TEST_F(ListFileTest, LongListIsWrittenInOneEncodingThroughout)
{
    constexpr int kPaths = 6000;
    std::vector<std::wstring> paths;
    std::wstring joined;
    for (int i = 0; i < kPaths; ++i) {
        paths.push_back(L"C:\\Pictures\\holiday\\picture number " + std::to_wstring(i) + L".jpg");
        joined += paths.back() + L"\r\n";
    }
    ASSERT_TRUE(WritePictureList(file.c_str(), paths));
    EXPECT_EQ(std::string(joined.begin(), joined.end()), ReadBytes(file));

    if (RunsUnderCodePage(CP_UTF8)) GTEST_SKIP() << "every path is representable in UTF-8";
    paths.push_back(L"C:\\\u0E01\\last.jpg");
    joined += paths.back() + L"\r\n";
    ASSERT_TRUE(WritePictureList(file.c_str(), paths));
    std::string utf8(joined.size() * 3, '\0');
    utf8.resize(static_cast<size_t>(::WideCharToMultiByte(CP_UTF8, 0, joined.data(), static_cast<int>(joined.size()),
                                                          &utf8[0], static_cast<int>(utf8.size()), nullptr, nullptr)));
    EXPECT_TRUE(ReadBytes(file) == kBom + utf8) << "not the whole list in UTF-8 behind its mark";
    CWallpaperPlayer reader;
    ASSERT_TRUE(reader.LoadList(file.c_str()));
    EXPECT_TRUE(Entries(reader) == paths);
}

TEST_F(ListFileTest, LookAlikeIsNotTakenForTheRealCharacter)
{
    if (!RunsUnderCodePage(kWestern)) GTEST_SKIP() << "code page " << ::GetACP();
    ASSERT_EQ(kWestern, ListFileCodePage());
    // A best-fit conversion would store "a" and name another file.
    Hold({L"C:\\P\\\u0101.jpg"});
    ASSERT_TRUE(player.SaveList(file.c_str()));
    EXPECT_EQ(Hex(std::string(kBom) + "C:\\P\\\xC4\x81.jpg\r\n"), Hex(ReadBytes(file)));
}

TEST_F(ListFileTest, WesternCodePageBytes)
{
    if (!RunsUnderCodePage(kWestern)) GTEST_SKIP() << "code page " << ::GetACP();
    ASSERT_EQ(kWestern, ListFileCodePage());
    Hold({L"C:\\Caf\u00E9\\\u00FCber.jpg"});
    ASSERT_TRUE(player.SaveList(file.c_str()));
    EXPECT_EQ(Hex("C:\\Caf\xE9\\\xFC"
                  "ber.jpg\r\n"),
              Hex(ReadBytes(file)));
    EXPECT_EQ(Show({L"C:\\Caf\u00E9\\\u00FCber.jpg"}), Show(Load("C:\\Caf\xE9\\\xFC"
                                                                 "ber.jpg\r\n")));
}

TEST_F(ListFileTest, BadBytesEndTheRead)
{
    // Bytes that are no UTF-8 in a file marked as UTF-8: the line's text before them is the last entry.
    EXPECT_EQ(Show({L"C:\\a.jpg", L"C:\\b"}),
              Show(Load(std::string(kBom) + "C:\\a.jpg\r\nC:\\b\xC3(.jpg\r\nC:\\c.jpg\r\n")));
    EXPECT_EQ(Show({L"C:\\a.jpg"}), Show(Load(std::string(kBom) + "C:\\a.jpg\r\n\xFF"
                                                                  "C:\\b.jpg\r\nC:\\c.jpg\r\n")));
}

TEST_F(ListFileTest, WhatCannotBeReadBackIsNeitherReadNorWritten)
{
    using namespace std::string_literals;
    // A line holding a NUL names no file; a file cut by a power loss often ends in them.
    EXPECT_EQ(Show({L"C:\\a.jpg", L"C:\\c.jpg"}), Show(Load("C:\\a.jpg\r\nC:\\b\0.jpg\r\nC:\\c.jpg\r\n\0\0\0"s)));

    WriteBytes(file, "C:\\old.jpg\r\n");
    // A lone surrogate has no form in any encoding.
    EXPECT_FALSE(WritePictureList(file.c_str(), {L"C:\\a.jpg", L"C:\\\xD800.jpg"}));
    // A list longer than the reader takes would never load again.
    constexpr size_t kLongPath = 1024 * 1024;
    constexpr size_t kPaths = 65;
    EXPECT_FALSE(WritePictureList(file.c_str(), std::vector<std::wstring>(kPaths, std::wstring(kLongPath, L'x'))));
    EXPECT_EQ(Hex("C:\\old.jpg\r\n"), Hex(ReadBytes(file)));
}

TEST_F(ListFileTest, FailedSaveLeavesTheOldFileIntact)
{
    WriteBytes(file, "C:\\old.jpg\r\n");
    Hold({L"C:\\new.jpg"});

    // The file beside it cannot be created.
    ::CreateDirectoryW((file + L".tmp").c_str(), nullptr);
    EXPECT_FALSE(player.SaveList(file.c_str()));
    EXPECT_EQ(Hex("C:\\old.jpg\r\n"), Hex(ReadBytes(file)));
    ::RemoveDirectoryW((file + L".tmp").c_str());

    // The old file cannot be replaced while another program holds it.
    {
        UniqueFile held(::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held.IsValid());
        EXPECT_FALSE(player.SaveList(file.c_str()));
    }
    EXPECT_EQ(Hex("C:\\old.jpg\r\n"), Hex(ReadBytes(file)));
    EXPECT_FALSE(FileIsThere(file + L".tmp")) << "nothing left beside it";

    EXPECT_FALSE(player.SaveList(dir.Join(L"missing\\wallpaper.txt").c_str()));
    EXPECT_FALSE(player.SaveList(nullptr));
}

TEST_F(ListFileTest, SuccessfulSaveLeavesOnlyTheFile)
{
    WriteBytes(file, "C:\\old.jpg\r\nC:\\older.jpg\r\n");
    Hold({L"C:\\new.jpg"});
    ASSERT_TRUE(player.SaveList(file.c_str()));
    EXPECT_EQ(Hex("C:\\new.jpg\r\n"), Hex(ReadBytes(file)));
    EXPECT_FALSE(FileIsThere(file + L".tmp"));
}

// Runs with a Chinese locale only (a second registration of the Wine tests),
// where the user's ANSI code page is 936.
class ListFileChineseTest : public ListFileTest {
protected:
    void SetUp() override
    {
        if (!RunsUnderCodePage(kSimplifiedChinese)) GTEST_SKIP() << "needs code page 936, have " << ::GetACP();
        ASSERT_EQ(kSimplifiedChinese, ListFileCodePage());
        ListFileTest::SetUp();
    }
};

TEST_F(ListFileChineseTest, WritesTheUserCodePage)
{
    // 图片 is CD BC C6 AC in GBK; 汉 is BA BA.
    Hold({L"C:\\\u56FE\u7247\\a.jpg", L"D:\\\u6C49.png"});
    ASSERT_TRUE(player.SaveList(file.c_str()));
    EXPECT_EQ(Hex("C:\\\xCD\xBC\xC6\xAC\\a.jpg\r\nD:\\\xBA\xBA.png\r\n"), Hex(ReadBytes(file)));
}

TEST_F(ListFileChineseTest, ReadsTheUserCodePage)
{
    EXPECT_EQ(Show({L"C:\\\u56FE\u7247\\a.jpg", L"", L"D:\\\u6C49.png"}),
              Show(Load("C:\\\xCD\xBC\xC6\xAC\\a.jpg\r\n\r\nD:\\\xBA\xBA.png")));
}

TEST_F(ListFileChineseTest, BytesTheCodePageCannotConvertEndTheRead)
{
    // 0x81 opens a two-byte character that a space cannot finish.
    EXPECT_EQ(Show({L"C:\\a.jpg", L"C:\\\u6C49"}), Show(Load("C:\\a.jpg\r\nC:\\\xBA\xBA\x81 b.jpg\r\nC:\\c.jpg\r\n")));
    EXPECT_EQ(Show({L"C:\\a.jpg"}), Show(Load("C:\\a.jpg\r\n\x81 C:\\b.jpg\r\nC:\\c.jpg\r\n")));
}

TEST_F(ListFileChineseTest, Utf8FileIsReadAsUtf8)
{
    EXPECT_EQ(Show({L"C:\\\u56FE\u7247\\a.jpg"}),
              Show(Load(std::string(kBom) + "C:\\\xE5\x9B\xBE\xE7\x89\x87\\a.jpg\r\n")));
}

}  // namespace
