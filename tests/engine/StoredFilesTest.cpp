// lumi.ini and wallpaper.txt under what a user's machine does to them:
// names in many scripts under several code pages, generated garbage, a full drive.
#include "config/CConf.h"
#include "engine/PictureListFile.h"
#include "tests/support/TestFiles.h"
#include "win/PathChars.h"
#include "win/UniqueHandle.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

constexpr DWORD kEnvChars = 64;
constexpr size_t kTimeChars = 128;
const char kUtf16Bom[] = "\xFF\xFE";

std::wstring EnvText(const wchar_t* name)
{
    wchar_t text[kEnvChars] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, text, kEnvChars);
    return length < kEnvChars ? text : L"";
}

unsigned EnvNumber(const wchar_t* name, unsigned fallback)
{
    const std::wstring text = EnvText(name);
    return text.empty() ? fallback : static_cast<unsigned>(std::wcstoul(text.c_str(), nullptr, 10));
}

// A record as text, one folder a line, so a comparison shows what differs.
std::string Describe(const CConf& conf)
{
    std::wstring text = std::to_wstring(conf.playinterval) + L" " + std::to_wstring(conf.style) + L" " +
                        std::to_wstring(conf.state) + L" [" + conf.lastpic + L"]";
    for (const CFolderEntry& folder : conf.folders) text += L"\n[" + folder.path + L"] [" + folder.time + L"]";
    return Narrow(text);
}

// Where two descriptions part, cut short: garbage makes long assertion messages.
std::string FirstDifference(const std::string& a, const std::string& b)
{
    constexpr size_t kShown = 80;
    size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
    const size_t line = a.rfind('\n', at) == std::string::npos ? 0 : a.rfind('\n', at) + 1;
    return "\n  " + a.substr(line, kShown) + "\n  " + b.substr(std::min(line, b.size()), kShown);
}

// Generated files number their folder sections up to this.
constexpr int kLastEditedSection = 9;

// The record as the profile functions read it, value by value and section by section.
CConf ReadThroughProfile(const std::wstring& file)
{
    const wchar_t* name = file.c_str();
    const auto number = [name](const wchar_t* key, int fallback) {
        return static_cast<int>(::GetPrivateProfileIntW(L"GENERAL", key, fallback, name));
    };
    const auto text = [name](const std::wstring& section, const wchar_t* key, DWORD chars) {
        std::wstring value(chars, L'\0');
        value.resize(::GetPrivateProfileStringW(section.c_str(), key, L"", &value[0], chars, name));
        return value;
    };
    CConf conf;
    conf.playinterval = number(L"playinterval", CConf::kDefaultPlayInterval);
    conf.style = number(L"style", CConf::kDefaultStyle);
    conf.state = number(L"state", CConf::kDefaultState);
    conf.lastpic = text(L"GENERAL", L"lastpic", kPathChars);
    for (int i = 1; i <= std::min(number(L"pathcount", 0), kLastEditedSection); ++i) {
        const std::wstring section = std::to_wstring(i);
        const CFolderEntry folder{text(section, L"path", kPathChars), text(section, L"time", kTimeChars), false};
        if (!folder.path.empty()) conf.folders.push_back(folder);
    }
    return conf;
}

// Folders in six scripts; the last name lies outside the Basic Multilingual Plane.
const wchar_t* const kScriptFolders[] = {
    L"C:\\Bilder\\Caf\u00e9 \u00c5ngstr\u00f6m",
    L"C:\\\u0395\u03b9\u03ba\u03cc\u03bd\u03b5\u03c2",
    L"C:\\\u0424\u043e\u0442\u043e\u0433\u0440\u0430\u0444\u0438\u0438",
    L"C:\\\u5199\u771f\\\u56fe\u7247",
    L"C:\\\u0635\u0648\u0631",
    L"C:\\Pictures\\\U0001F5BC \U00020000",
};

// A folder each code page can hold, as an earlier version stored it in an ANSI lumi.ini.
struct NativeFolder {
    unsigned codePage;
    const wchar_t* path;
};
const NativeFolder kNativeFolders[] = {
    {1252, L"C:\\Caf\u00e9 \u00c5ngstr\u00f6m"}, {936, L"C:\\\u56fe\u7247"}, {932, L"C:\\\u5199\u771f"}};

enum class Start { Missing, Empty, OldAnsi };

TEST(StoreScripts, PathsInEveryScriptRoundTripThroughBothFiles)
{
    const unsigned codePage = ::GetACP();
    const unsigned required = EnvNumber(L"LUMI_REQUIRE_ACP", 0);
    ASSERT_TRUE(required == 0 || required == codePage) << "this run needs code page " << required;
    const wchar_t* native = nullptr;
    for (const NativeFolder& n : kNativeFolders) {
        if (n.codePage == codePage) native = n.path;
    }
    if (native == nullptr) GTEST_SKIP() << "no folder name written for code page " << codePage;

    int roundTrips = 0;
    for (Start start : {Start::Missing, Start::Empty, Start::OldAnsi}) {
        SCOPED_TRACE(testing::Message() << "start " << static_cast<int>(start) << ", code page " << codePage);
        DataFolderReset reset;
        TempDir dir;
        const std::wstring ini = dir.Join(L"lumi.ini");
        CConf expected;
        if (start == Start::Empty) WriteBytes(ini, "");
        if (start == Start::OldAnsi) {
            // Earlier versions let the profile writer make the file, which it makes in ANSI.
            ::WritePrivateProfileStringW(L"GENERAL", L"pathcount", L"1", ini.c_str());
            ::WritePrivateProfileStringW(L"1", L"path", native, ini.c_str());
            ::WritePrivateProfileStringW(L"1", L"time", L"5", ini.c_str());
            ASSERT_NE(kUtf16Bom, ReadBytes(ini).substr(0, 2));
            expected.folders.push_back(CFolderEntry{native, L"5", false});
        }

        CConf conf;
        conf.Load(ini.c_str());
        ASSERT_EQ(Describe(expected), Describe(conf)) << "the old file reads as it was written";
        int time = 100;
        for (const wchar_t* folder : kScriptFolders) {
            conf.folders.push_back(CFolderEntry{folder, std::to_wstring(time++), false});
        }
        conf.lastpic = conf.folders.back().path + L"\\\U0001F5BC.jpg";
        ASSERT_TRUE(conf.Save(true));
        EXPECT_EQ(kUtf16Bom, ReadBytes(conf.fileName).substr(0, 2));
        CConf reloaded;
        reloaded.Load(conf.fileName.c_str());
        EXPECT_EQ(Describe(conf), Describe(reloaded));
        EXPECT_EQ(Describe(conf), Describe(ReadThroughProfile(conf.fileName))) << "the file holds what Load read";

        std::vector<std::wstring> pictures;
        for (const CFolderEntry& folder : conf.folders) pictures.push_back(folder.path + L"\\\u00e9\u5199.jpg");
        const std::wstring list = dir.Join(L"wallpaper.txt");
        std::vector<std::wstring> read;
        ASSERT_TRUE(WritePictureList(list.c_str(), pictures));
        ASSERT_TRUE(ReadPictureList(list.c_str(), read));
        EXPECT_EQ(Show(pictures), Show(read));
        roundTrips += 2;
    }
    std::printf("[ figures  ] code page %u: %d round trips of %zu script folders and their pictures, %s\n", codePage,
                roundTrips, std::size(kScriptFolders), HasFailure() ? "FAILURES" : "nothing lost");
}

enum Encoding { kUtf16, kUtf16BigEndian, kUtf16Unmarked, kUtf16BigEndianUnmarked, kUtf8, kAnsi, kEncodings };
const char* const kEncodingNames[] = {"UTF-16LE", "UTF-16BE", "UTF-16LE without mark", "UTF-16BE without mark",
                                      "UTF-8",    "ANSI"};
const char* const kMarks[] = {"\xFF\xFE", "\xFE\xFF", "", "", "\xEF\xBB\xBF", ""};
// The mark the profile functions need to read a file that lacks it.
const char* const kMissingMarks[] = {"", "", "\xFF\xFE", "\xFE\xFF", "", ""};
const char* const kBlanks[] = {"", "", " ", "\t", " \t ", "\x1a", "\v"};
const char* const kLineEnds[] = {"\r\n", "\n", "\r"};
const char* const kLineEndNames[] = {"CR LF", "LF", "CR"};
const char* const kQuotes[] = {"", "", "", "\"", "'"};

struct EditedFile {
    std::string bytes;
    int encoding;
    std::string shape;
};

// Malformed files made from a seed: random bytes, cut and odd encodings,
// huge and negative numbers, thousands of sections, NULs, bytes no code page
// converts, long lines.
class Garbage {
public:
    explicit Garbage(unsigned seed) : random(seed) {}

    std::string ConfigFile()
    {
        return Mangle(Pick(4) == 0 ? Bytes(Pick(2000)) : HandEditedConfig(Pick(32) == 0 ? 4000 : 10).bytes);
    }

    std::string ListFile()
    {
        const std::string ends[] = {"\r\n", "\n", "\r", "\r\r\n", "\0"s};
        std::string text = Pick(3) == 0 ? "\xEF\xBB\xBF" : "";
        const int lines = Pick(32) == 0 ? Pick(3000) : Pick(10);
        for (int i = 0; i < lines; ++i) text += Value() + OneOf(ends);
        if (Pick(4) == 0) text.insert(static_cast<size_t>(Pick(static_cast<int>(text.size()) + 1)), 1, '\0');
        return Mangle(text);
    }

    // A configuration as people edit it by hand, in one of the encodings the
    // profile reader knows: blanks, letter case, quotes, NULs, keys without
    // values, duplicate and unordered sections, mixed line ends.
    EditedFile HandEditedConfig(int mostSections)
    {
        std::string text = ";" + std::string(OneOf(kLineEnds));
        const int sections = Pick(mostSections);
        const int general = Pick(sections + 1);
        for (int i = 0; i <= sections; ++i) {
            text += Blanked("[" + Blanked(i == general ? Cased("GENERAL") : SectionNumber()) + "]") + OneOf(kLineEnds);
            if (i != general) {
                text += KeyLine("path", Value()) + KeyLine("time", Number());
                continue;
            }
            text += KeyLine("pathcount", Pick(3) == 0 ? Number() : std::to_string(Pick(12)));
            for (const char* key : {"playinterval", "style", "state"}) text += KeyLine(key, Number());
            text += KeyLine("lastpic", Value());
        }
        // In UTF-16 a byte beyond ASCII becomes any character.
        const int encoding = Pick(kEncodings);
        std::string bytes = kMarks[encoding];
        for (char c : text) {
            const char high = static_cast<char>(c < 0 ? Pick(256) : 0);
            const bool bigEndian = encoding == kUtf16BigEndian || encoding == kUtf16BigEndianUnmarked;
            bytes += encoding < kUtf8 ? (bigEndian ? std::string{high, c} : std::string{c, high}) : std::string(1, c);
        }
        return {bytes, encoding, kEncodingNames[encoding]};
    }

    // Half the ANSI and UTF-8 files get a NUL line on top, as a crashed editor or a bad copy leaves it.
    EditedFile Damaged(EditedFile edited)
    {
        const int nulAt = Pick(2);
        const int end = Pick(static_cast<int>(std::size(kLineEnds)));
        if (edited.encoding < kUtf8 || Pick(2) == 0) return edited;
        edited.bytes.insert(0, std::string(static_cast<size_t>(nulAt), ';') + '\0' + kLineEnds[end]);
        edited.shape += ", NUL at byte " + std::to_string(nulAt) + ", " + kLineEndNames[end];
        return edited;
    }

private:
    int Pick(int below) { return below <= 0 ? 0 : std::uniform_int_distribution<int>(0, below - 1)(random); }

    template <typename T, size_t N>
    T OneOf(const T (&items)[N])
    {
        return items[Pick(static_cast<int>(N))];
    }

    std::string Bytes(int count)
    {
        std::string bytes;
        for (int i = 0; i < count; ++i) bytes += static_cast<char>(Pick(256));
        return bytes;
    }

    std::string Number()
    {
        const char* const numbers[] = {"2147483647", "99999999999", "-2147483648", "-1",    "0",
                                       " 12 ",       "0x7fffffff",  "1e9",         "",      "+3",
                                       "  ",         "4294967296",  "0X1f",        "0b101", "-0x10",
                                       "0o17",       "- 3",         "\0017",       "'-8'",  "\"5\""};
        // About as long as the buffer the profile reader reads a number through.
        if (Pick(16) == 0) return std::string(static_cast<size_t>(27 + Pick(3)), '0') + "12";
        return Pick(3) == 0 ? std::to_string(static_cast<int>(random())) : OneOf(numbers);
    }

    // A path, or something that stands in its place: cut DBCS and UTF-8, NULs, quotes, long runs.
    std::string Value()
    {
        const std::string values[] = {"C:\\P",
                                      "C:\\\xCD\xBC\xC6\xAC",
                                      "C:\\\x81",
                                      "C:\\\xC3(",
                                      "\"C:\\q\"",
                                      " C:\\s ",
                                      "C:\\a\0b"s,
                                      "\xEF\xBB\xBF"
                                      "C:\\u",
                                      "C:\\\x8E\xCA\x90^",
                                      "=",
                                      "[1]",
                                      ";c"};
        switch (Pick(16)) {
        case 0:
            return Bytes(Pick(40));
        case 1:
            return std::string(static_cast<size_t>(Pick(3000)), 'x');
        case 2:
            // About as long as the "time" or the "path" buffer holds.
            return std::string(static_cast<size_t>(Pick(2) == 0 ? 126 + Pick(4) : 258 + Pick(4)), 'y');
        default:
            return OneOf(values);
        }
    }

    std::string Blanked(const std::string& text) { return OneOf(kBlanks) + text + OneOf(kBlanks); }

    std::string Cased(std::string name)
    {
        for (char& c : name) c = Pick(3) == 0 ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
        return name;
    }

    std::string SectionNumber()
    {
        const std::string n = std::to_string(1 + Pick(kLastEditedSection));
        const std::string forms[] = {n,       n,       n + std::string(20, '0'),   "0" + n, "+" + n,
                                     n + "x", Value(), n + OneOf(kBlanks) + "\0x"s};
        return OneOf(forms);
    }

    std::string KeyLine(const std::string& key, const std::string& value)
    {
        if (Pick(10) == 0) return KeyLine(key, value) + KeyLine(key, Value());
        const std::string name = Blanked(Cased(key));
        const std::string quote = OneOf(kQuotes);
        const std::string odd[] = {"", name, name + "\0x="s + value + OneOf(kBlanks) + "\0x"s};
        return (Pick(3) == 0 ? OneOf(odd) : name + "=" + Blanked(quote + value + quote)) + OneOf(kLineEnds);
    }

    // Cuts, flips and NULs, now and then.
    std::string Mangle(std::string text)
    {
        if (!text.empty() && Pick(5) == 0) text.resize(static_cast<size_t>(Pick(static_cast<int>(text.size()))));
        for (int flips = Pick(3) == 0 ? Pick(8) : 0; flips > 0 && !text.empty(); --flips) {
            text[static_cast<size_t>(Pick(static_cast<int>(text.size())))] = static_cast<char>(Pick(256));
        }
        return text;
    }

    std::mt19937 random;
};

// What the program needs of every folder and picture it reads, whatever the file held.
void ExpectUsable(const CConf& conf)
{
    EXPECT_LT(conf.lastpic.size(), kPathChars);
    for (const CFolderEntry& folder : conf.folders) {
        EXPECT_FALSE(folder.path.empty());
        EXPECT_LT(folder.path.size(), kPathChars);
        EXPECT_LT(folder.time.size(), kTimeChars);
    }
}

TEST(StoreFuzz, MalformedFilesLoadSaveAndLoadAgainUnchanged)
{
    const unsigned seed = EnvNumber(L"LUMI_FUZZ_SEED", 11);
    const unsigned count = EnvNumber(L"LUMI_FUZZ_COUNT", 1000);
    Garbage garbage(seed);
    TempDir dir;
    const std::wstring ini = dir.Join(L"lumi.ini");
    const std::wstring list = dir.Join(L"wallpaper.txt");
    unsigned tried = 0;
    std::chrono::steady_clock::duration slowest{};
    for (unsigned i = 0; i < count && !HasFailure(); ++i) {
        SCOPED_TRACE(testing::Message() << "seed " << seed << ", input " << i);
        const std::string iniBytes = garbage.ConfigFile();
        const std::string listBytes = garbage.ListFile();
        ASSERT_TRUE(WriteBytes(ini, iniBytes));
        ASSERT_TRUE(WriteBytes(list, listBytes));
        const auto started = std::chrono::steady_clock::now();

        CConf conf;
        conf.Load(ini.c_str());
        ExpectUsable(conf);
        EXPECT_TRUE(conf.Save(true));
        CConf reloaded;
        reloaded.Load(ini.c_str());
        EXPECT_TRUE(Describe(conf) == Describe(reloaded)) << FirstDifference(Describe(conf), Describe(reloaded));

        std::vector<std::wstring> pictures;
        std::vector<std::wstring> again;
        EXPECT_TRUE(ReadPictureList(list.c_str(), pictures));
        for (const std::wstring& picture : pictures) {
            EXPECT_EQ(std::wstring::npos, picture.find(L'\0')) << "a line with a NUL names no file";
        }
        EXPECT_TRUE(WritePictureList(list.c_str(), pictures));
        EXPECT_TRUE(ReadPictureList(list.c_str(), again));
        EXPECT_TRUE(pictures == again) << FirstDifference(Show(pictures), Show(again));

        const auto took = std::chrono::steady_clock::now() - started;
        slowest = std::max(slowest, took);
        tried += 2;
    }
    // A figure, not a bound: a timed check fails on a busy machine; a real hang meets ctest's time limit.
    std::printf("[ figures  ] seed %u: %u malformed inputs tried (slowest pair %lld ms), %s\n", seed, tried,
                static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(slowest).count()),
                HasFailure() ? "FAILURES" : "none unusable, no crash");
}

// Wine's profile functions read UTF-16 only behind its mark; a file without
// it, which Load reads as UTF-16 too, is compared with what they read from
// the same text with the mark.
TEST(StoreSweep, HandEditedFilesReadAsTheProfileFunctionsReadThemAndSurviveASave)
{
    const unsigned seed = EnvNumber(L"LUMI_FUZZ_SEED", 11);
    const unsigned count = EnvNumber(L"LUMI_FUZZ_COUNT", 1000);
    Garbage garbage(seed);
    TempDir dir;
    // For each shape of file: files, folders loaded, disagreements, and files losing a folder through Load and Save.
    std::map<std::string, std::array<size_t, 4>> shapes;
    for (unsigned i = 0; i < count; ++i) {
        const EditedFile edited = garbage.Damaged(garbage.HandEditedConfig(10));
        // Fresh names: the profile functions keep the files they read last.
        const std::wstring ini = dir.Join(L"lumi" + std::to_wstring(i) + L".ini");
        const std::wstring marked = dir.Join(L"marked" + std::to_wstring(i) + L".ini");
        ASSERT_TRUE(WriteBytes(ini, edited.bytes));
        ASSERT_TRUE(WriteBytes(marked, kMissingMarks[edited.encoding] + edited.bytes));

        CConf conf;
        conf.Load(ini.c_str());
        CConf kept = ReadThroughProfile(marked);
        const std::string expected = Describe(kept);
        const std::string loaded = Describe(conf);
        // The controller names the current picture before every save.
        conf.lastpic = L"C:\\P\\last.jpg";
        const bool saved = conf.Save(false) && Describe(ReadThroughProfile(ini)) == Describe(conf);
        kept.folders = ReadThroughProfile(ini).folders;
        const unsigned wrong = (loaded != expected) + !saved;
        EXPECT_EQ(0u, wrong) << "input " << i << ", " << edited.shape << (saved ? "" : ", after a save")
                             << FirstDifference(expected, loaded);
        std::array<size_t, 4>& n = shapes[edited.shape];
        n = {n[0] + 1, n[1] + conf.folders.size(), n[2] + wrong, n[3] + (Describe(kept) != expected)};
        // Wine looks names up slower in a folder that holds thousands of files.
        ::DeleteFileW(ini.c_str());
        ::DeleteFileW(marked.c_str());
    }
    std::printf("[ figures  ] seed %u: %u hand-edited files read by both readers and saved:\n", seed, count);
    for (const auto& [shape, n] : shapes)
        std::printf("    %s: %zu files, %zu folders, %zu disagreements, %zu losing a folder\n", shape.c_str(), n[0],
                    n[1], n[2], n[3]);
}

// A drive of a few pages that the test fills (tests/e2e/full_disk.sh maps one).
TEST(StoreFullDisk, FullDriveKeepsTheOldFilesAndSaysSo)
{
    const std::wstring drive = EnvText(L"LUMI_FULL_DISK");
    if (drive.empty()) GTEST_SKIP() << "needs a small drive to fill; tests/e2e/full_disk.sh provides one";
    const std::wstring ini = drive + L"lumi.ini";
    const std::wstring list = drive + L"wallpaper.txt";
    const std::wstring filler = drive + L"filler";

    CConf old;
    old.fileName = ini;
    for (const wchar_t* folder : kScriptFolders) old.folders.push_back(CFolderEntry{folder, L"1", false});
    ASSERT_TRUE(WriteBytes(ini, "")) << "the drive is not there";
    ASSERT_TRUE(old.Save(true));
    ASSERT_TRUE(WritePictureList(list.c_str(), {L"C:\\P\\old.jpg"}));
    const std::string oldIni = ReadBytes(ini);
    const std::string oldList = ReadBytes(list);

    {
        UniqueFile fill(::CreateFileW(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(fill.IsValid());
        const std::string block(512, 'f');
        DWORD written = 0;
        while (::WriteFile(fill.Get(), block.data(), static_cast<DWORD>(block.size()), &written, nullptr) &&
               written == block.size()) {
        }
    }

    CConf bigger = old;
    for (int i = 0; i < 50; ++i)
        bigger.folders.push_back(CFolderEntry{L"C:\\More\\" + std::to_wstring(i), L"2", false});
    CConf general = old;
    general.playinterval = 99;
    const std::vector<std::wstring> pictures(200, L"C:\\P\\new.jpg");
    EXPECT_FALSE(bigger.Save(true));
    EXPECT_FALSE(general.Save(false));
    EXPECT_FALSE(WritePictureList(list.c_str(), pictures));
    EXPECT_EQ(oldIni, ReadBytes(ini));
    EXPECT_EQ(oldList, ReadBytes(list));
    EXPECT_FALSE(FileIsThere(ini + L".tmp"));
    CConf reloaded;
    reloaded.Load(ini.c_str());
    EXPECT_EQ(Describe(old), Describe(reloaded));

    ::DeleteFileW(filler.c_str());
    EXPECT_TRUE(general.Save(false)) << "with room again the save goes through";
    std::printf("[ figures  ] full drive: saves refused, old files kept%s\n", HasFailure() ? " - FAILED" : "");
}

}  // namespace
