#include "config/CConf.h"
#include "config/DataFolder.h"
#include "tests/support/RegistryBackup.h"
#include "tests/support/TestFiles.h"
#include "win/UniqueHandle.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

// The bytes of a UTF-16LE file after its byte-order mark, as text.
std::wstring Utf16Body(const std::string& bytes)
{
    std::wstring text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                            (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    }
    return text;
}

class CConfTest : public testing::Test {
protected:
    // Writes an ANSI ini file in the temporary folder and loads it into conf.
    int LoadText(const std::string& ini)
    {
        WriteBytes(iniPath, ini);
        return conf.Load(iniPath.c_str());
    }

    DataFolderReset reset;
    TempDir dir;
    std::wstring iniPath = dir.Join(L"lumi.ini");
    CConf conf;
};

TEST_F(CConfTest, MissingFileGivesDefaultsAndRemembersThePath)
{
    EXPECT_EQ(0, conf.Load(iniPath.c_str()));
    EXPECT_EQ(15, conf.playinterval);
    EXPECT_EQ(1, conf.style);
    EXPECT_EQ(0, conf.state);
    EXPECT_TRUE(conf.lastpic.empty());
    EXPECT_TRUE(conf.folders.empty());
    EXPECT_EQ(iniPath, conf.fileName);
}

TEST_F(CConfTest, NullFileNameLeavesRecordUntouched)
{
    conf.playinterval = 99;
    EXPECT_EQ(0, conf.Load(nullptr));
    EXPECT_EQ(99, conf.playinterval);
    EXPECT_TRUE(conf.fileName.empty());
}

TEST_F(CConfTest, SkipsMissingSectionsAndCompactsThemOnSave)
{
    const int count = LoadText(
        "[GENERAL]\r\npathcount=3\r\n"
        "[1]\r\npath=C:\\A\r\ntime=100\r\n"
        "[3]\r\npath=C:\\C\r\ntime=\r\n");
    ASSERT_EQ(2, count);
    ASSERT_EQ(2u, conf.folders.size());
    EXPECT_EQ(L"C:\\A", conf.folders[0].path);
    EXPECT_EQ(L"100", conf.folders[0].time);
    EXPECT_EQ(L"C:\\C", conf.folders[1].path);
    EXPECT_EQ(L"", conf.folders[1].time);

    conf.Save(true);
    const wchar_t* file = iniPath.c_str();
    EXPECT_EQ(2u, ::GetPrivateProfileIntW(L"GENERAL", L"pathcount", -1, file));
    wchar_t text[kPathChars] = {};
    ::GetPrivateProfileStringW(L"2", L"path", L"", text, kPathChars, file);
    EXPECT_STREQ(L"C:\\C", text);
    // The old third section is left behind and ignored.
    ::GetPrivateProfileStringW(L"3", L"path", L"", text, kPathChars, file);
    EXPECT_STREQ(L"C:\\C", text);

    CConf reloaded;
    EXPECT_EQ(2, reloaded.Load(file));
}

TEST_F(CConfTest, LoadAppendsToFoldersAlreadyHeld)
{
    conf.folders.push_back(CFolderEntry{L"C:\\Old", L"", false});
    LoadText("[GENERAL]\r\npathcount=1\r\n[1]\r\npath=C:\\New\r\n");
    ASSERT_EQ(2u, conf.folders.size());
    EXPECT_EQ(L"C:\\New", conf.folders[1].path);
}

TEST_F(CConfTest, SaveWithoutPathsKeepsFolderSections)
{
    LoadText("[GENERAL]\r\npathcount=1\r\n[1]\r\npath=C:\\A\r\ntime=5\r\n");
    conf.folders.clear();
    conf.playinterval = 30;
    conf.Save(false);

    CConf reloaded;
    ASSERT_EQ(1, reloaded.Load(iniPath.c_str()));
    EXPECT_EQ(L"C:\\A", reloaded.folders[0].path);
    EXPECT_EQ(30, reloaded.playinterval);
}

TEST_F(CConfTest, EmptyLastpicIsWrittenAsAnEmptyKey)
{
    LoadText("[GENERAL]\r\nlastpic=C:\\P\\a.jpg\r\n");
    conf.lastpic.clear();
    conf.Save(false);
    EXPECT_NE(std::wstring::npos, Utf16Body(ReadBytes(iniPath)).find(L"lastpic=\r\n"));
}

TEST_F(CConfTest, AnsiFileBecomesUtf16KeepingWhatTheSaveDoesNotTouch)
{
    LoadText("; note\r\n[GENERAL]\r\nplayinterval=20\r\nmine=1\r\n\r\n[9]\r\nx=y\r\n");
    ASSERT_TRUE(conf.Save(false));
    const std::string bytes = ReadBytes(iniPath);
    EXPECT_EQ("\xFF\xFE", bytes.substr(0, 2));
    EXPECT_EQ(
        L"; note\r\n[GENERAL]\r\nplayinterval=20\r\nmine=1\r\nlastpic=\r\nstyle=1\r\nstate=0\r\n\r\n[9]\r\nx=y\r\n",
        Utf16Body(bytes));
    ASSERT_TRUE(conf.Save(false));
    EXPECT_EQ(bytes, ReadBytes(iniPath)) << "saving again writes the same bytes";
}

TEST_F(CConfTest, FailedSaveSaysSoAndKeepsTheOldFile)
{
    const std::string old = "[GENERAL]\r\nplayinterval=20\r\n";
    LoadText(old);
    conf.playinterval = 30;

    // The new file cannot be made beside the old one.
    ::CreateDirectoryW((iniPath + L".tmp").c_str(), nullptr);
    EXPECT_FALSE(conf.Save(false));
    ::RemoveDirectoryW((iniPath + L".tmp").c_str());
    // The old file cannot be replaced while another program holds it.
    {
        UniqueFile held(::CreateFileW(iniPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held.IsValid());
        EXPECT_FALSE(conf.Save(true));
    }
    // The data folder is unknown when the application-data folder cannot be made.
    {
        RegistryBackup appData(L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                               L"AppData");
        appData.SetText(dir.Join(L"file.txt\\AppData"));
        WriteBytes(dir.Join(L"file.txt"), "");
        CConf fresh;
        EXPECT_FALSE(fresh.Save(false));
    }
    EXPECT_EQ(old, ReadBytes(iniPath));
    EXPECT_FALSE(FileIsThere(iniPath + L".tmp"));
    EXPECT_TRUE(conf.Save(false)) << "nothing in the way any more";

    // A file too large to be a configuration cannot be read, so it is not replaced.
    constexpr size_t kHugeFileBytes = 32 * 1024 * 1024;
    const std::string huge = old + std::string(kHugeFileBytes, ';');
    WriteBytes(iniPath, huge);
    EXPECT_FALSE(conf.Save(true));
    EXPECT_TRUE(huge == ReadBytes(iniPath));
}

TEST_F(CConfTest, NewFileGoesToDataFolderAsUtf16WithKeysInOrder)
{
    // A file name that no longer exists is replaced by the data folder's file.
    conf.Load(iniPath.c_str());
    conf.folders.push_back(CFolderEntry{L"C:\\A", L"7", false});
    conf.Save(true);

    const std::wstring expected = DataFolderReset::File(L"lumi.ini");
    EXPECT_EQ(expected, conf.fileName);
    const std::string bytes = ReadBytes(expected);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ('\xFF', bytes[0]);
    EXPECT_EQ('\xFE', bytes[1]);

    const std::wstring text = Utf16Body(bytes);
    const size_t order[] = {
        text.find(L"[GENERAL]"), text.find(L"playinterval=15"), text.find(L"lastpic="),
        text.find(L"style=1"),   text.find(L"state=0"),         text.find(L"pathcount=1"),
        text.find(L"[1]"),       text.find(L"path=C:\\A"),      text.find(L"time=7"),
    };
    for (size_t i = 0; i < std::size(order); ++i) {
        ASSERT_NE(std::wstring::npos, order[i]) << "item " << i;
        if (i > 0) {
            EXPECT_LT(order[i - 1], order[i]) << "item " << i;
        }
    }
}

TEST(DataFolder, RefusesBuffersBelowThePathLimit)
{
    wchar_t buffer[kPathChars];
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    EXPECT_FALSE(GetDataFolderPath(buffer, kPathChars - 1));
    EXPECT_EQ(L'#', buffer[0]);
    EXPECT_FALSE(GetDataFolderPath(nullptr, kPathChars));

    ASSERT_TRUE(GetDataFolderPath(buffer, kPathChars));
    const std::wstring path = buffer;
    EXPECT_EQ(L"\\Lumivane", path.substr(path.size() - 9));
}

}  // namespace
