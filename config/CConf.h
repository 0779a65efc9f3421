#pragma once

#include "config/CFolderEntry.h"
#include "config/WallpaperStyle.h"

#include <string>
#include <vector>

// The whole persistent configuration, kept in "lumi.ini" in the data folder.
// Copying copies every field, the file name and the folder entries included.
class CConf {
public:
    static constexpr int kDefaultPlayInterval = 15;
    static constexpr int kDefaultStyle = Tile;
    static constexpr int kDefaultState = 0;
    static constexpr int kStatePaused = 1;

    CConf() = default;
    CConf(const CConf&) = default;
    CConf& operator=(const CConf&) = default;
    virtual ~CConf() = default;

    // Appends the folders of fileName and takes its settings; returns the
    // number of folder entries appended. A missing file gives the defaults.
    int Load(const wchar_t* fileName);

    // Writes the settings, and the folder sections only when savePaths is set.
    // False, with the file as it was, when the data folder is unknown or the
    // file cannot be read or replaced.
    bool Save(bool savePaths);

    std::wstring fileName;
    int playinterval = kDefaultPlayInterval;
    std::vector<CFolderEntry> folders;
    std::wstring lastpic;
    int style = kDefaultStyle;
    int state = kDefaultState;

private:
    bool ResolveFileName();
};
