#pragma once

#include "config/CConf.h"
#include "settings/BrowseForFolder.h"
#include "win/CDialogImpl.h"

#include <windows.h>

#include <functional>
#include <string>

// Asks the user for a folder; the buffer (kPathChars characters) holds the
// first selection going in and the chosen path coming out.
using FolderPicker = std::function<bool(wchar_t* buffer, HWND owner, const wchar_t* title, UINT flags)>;

// The modal settings dialog, whose result is IDOK or IDCANCEL. It edits a
// copy of the configuration, which the caller reads after OK; only the
// start-up check box acts at once. While it is open, its go-to button sends
// WM_SHOW_PICTURE to its owner.
class CSettingDlg : public CDialogImpl {
public:
    CSettingDlg(const CConf& conf, const std::wstring& currentPicturePath, FolderPicker picker = &BrowseForFolder);

    const CConf& GetConf() const { return conf; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnInitDialog() override;
    bool OnCommand(int id) override;
    void OnOK() override;

private:
    void FillFolderList();
    void FillStyles();
    void OnAdd();
    bool IsFolderListed(const wchar_t* path) const;
    void OnDelete();
    void OnGoTo();
    void GoToFolder(int row);
    void OnAutoRun();
    bool OnNotify(const NMHDR& header);

    int AppendRow(std::wstring path);
    std::wstring RowPath(int row) const;
    int RowCount() const;
    void SelectRow(int row);
    int Ask(UINT textId, UINT type);

    CConf conf;
    HWND folderList = nullptr;
    std::wstring currentFolder;
    std::wstring lastBrowsedFolder;
    FolderPicker picker;
};
