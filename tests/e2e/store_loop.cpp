// Saves lumi.ini and wallpaper.txt in a loop, alternating between two
// configurations and two lists, for kill_test.sh to kill at random moments.
//
//   store_loop reference DIR   writes both versions of each file beside them
//                              (".a", ".b") and leaves version A in place
//   store_loop loop DIR        saves B, A, B, ... until killed; DIR\running
//                              appears once the loop has gone round once
//   store_loop check DIR       exit code 0 when both files load as A or as B
#include "config/CConf.h"
#include "engine/PictureListFile.h"
#include "win/AtomicFile.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr size_t kMaxBytes = 1024 * 1024;
constexpr int kFolders = 3;
constexpr int kPicturesA = 40;
constexpr int kPicturesB = 90;

struct Version {
    CConf conf;
    std::vector<std::wstring> pictures;
};

// Both versions hold as many folders, so each one's file is the same whichever was saved before it.
Version MakeVersion(bool b)
{
    const wchar_t* const folders[2][kFolders] = {
        {L"C:\\Bilder\\Caf\u00e9 \u00c5ngstr\u00f6m", L"C:\\\u56fe\u7247", L"C:\\\u0424\u043e\u0442\u043e"},
        {L"D:\\\u0395\u03b9\u03ba\u03cc\u03bd\u03b5\u03c2", L"D:\\\u0635\u0648\u0631", L"D:\\\U0001F5BC"},
    };
    Version v;
    v.conf.playinterval = b ? 600 : 15;
    v.conf.style = b ? 2 : 1;
    v.conf.state = b ? 1 : 0;
    for (int i = 0; i < kFolders; ++i) {
        v.conf.folders.push_back(CFolderEntry{folders[b][i], std::to_wstring((b ? 2000 : 1000) + i), false});
    }
    for (int i = 0; i < (b ? kPicturesB : kPicturesA); ++i) {
        v.pictures.push_back(v.conf.folders[i % kFolders].path + L"\\" + std::to_wstring(i) + L".jpg");
    }
    v.conf.lastpic = v.pictures.back();
    return v;
}

bool Save(Version& v, const std::wstring& dir)
{
    v.conf.fileName = dir + L"\\lumi.ini";
    return v.conf.Save(true) && WritePictureList((dir + L"\\wallpaper.txt").c_str(), v.pictures);
}

bool Same(const CConf& a, const CConf& b)
{
    if (a.playinterval != b.playinterval || a.style != b.style || a.state != b.state || a.lastpic != b.lastpic ||
        a.folders.size() != b.folders.size()) {
        return false;
    }
    for (size_t i = 0; i < a.folders.size(); ++i) {
        if (a.folders[i].path != b.folders[i].path || a.folders[i].time != b.folders[i].time) return false;
    }
    return true;
}

bool Copy(const std::wstring& from, const std::wstring& to)
{
    std::string bytes;
    return ReadFileBytes(from.c_str(), kMaxBytes, bytes) && ReplaceFileBytes(to.c_str(), bytes);
}

int Reference(const std::wstring& dir, Version& a, Version& b)
{
    // An empty file to start from, so the saves stay in this folder and never go to the data folder.
    if (!ReplaceFileBytes((dir + L"\\lumi.ini").c_str(), std::string())) return 1;
    if (!Save(a, dir)) return 1;
    Copy(dir + L"\\lumi.ini", dir + L"\\lumi.ini.a");
    Copy(dir + L"\\wallpaper.txt", dir + L"\\wallpaper.txt.a");
    if (!Save(b, dir)) return 1;
    Copy(dir + L"\\lumi.ini", dir + L"\\lumi.ini.b");
    Copy(dir + L"\\wallpaper.txt", dir + L"\\wallpaper.txt.b");
    return Save(a, dir) ? 0 : 1;
}

int Loop(const std::wstring& dir, Version& a, Version& b)
{
    if (!Save(b, dir) || !Save(a, dir)) return 1;
    ReplaceFileBytes((dir + L"\\running").c_str(), std::string());
    for (;;) {
        if (!Save(b, dir) || !Save(a, dir)) return 1;
    }
}

int Check(const std::wstring& dir, const Version& a, const Version& b)
{
    CConf loaded;
    loaded.Load((dir + L"\\lumi.ini").c_str());
    std::vector<std::wstring> pictures;
    const bool listRead = ReadPictureList((dir + L"\\wallpaper.txt").c_str(), pictures);
    const bool confOk = Same(loaded, a.conf) || Same(loaded, b.conf);
    const bool listOk = listRead && (pictures == a.pictures || pictures == b.pictures);
    if (!confOk) std::printf("lumi.ini loads to neither configuration\n");
    if (!listOk) std::printf("wallpaper.txt loads to neither list\n");
    return confOk && listOk ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) return 2;
    const std::wstring mode = argv[1];
    const std::wstring dir = argv[2];
    Version a = MakeVersion(false);
    Version b = MakeVersion(true);
    if (mode == L"reference") return Reference(dir, a, b);
    if (mode == L"loop") return Loop(dir, a, b);
    if (mode == L"check") return Check(dir, a, b);
    return 2;
}
