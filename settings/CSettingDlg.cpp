#include "settings/CSettingDlg.h"

#include "resources/resource.h"
#include "settings/StartupShortcut.h"
#include "win/AppMessages.h"
#include "win/CenterDialog.h"
#include "win/PathChars.h"
#include "win/PathCompare.h"
#include "win/ResourceInstance.h"

#include <commctrl.h>
#include <olectl.h>
#include <shlobj.h>

#include <iterator>
#include <utility>

namespace {

constexpr int kMinInterval = 1;
constexpr int kMaxInterval = 86400;  // one day
constexpr UINT kPickerFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
constexpr int kPathColumn = 0;
constexpr int kMarkColumn = 1;
constexpr wchar_t kMark[] = L"*";
constexpr int kNoRow = -1;
constexpr int kNoItem = -1;
// The combo box's items in the order of WallpaperStyle, so an item's index is its style.
constexpr UINT kStyleTexts[] = {IDS_CENTER, IDS_TILE, IDS_STRETCH};

std::wstring FolderOf(const std::wstring& picturePath)
{
    const size_t slash = picturePath.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : picturePath.substr(0, slash);
}

void SetCellText(HWND list, int row, int column, const wchar_t* text)
{
    ListView_SetItemText(list, row, column, const_cast<wchar_t*>(text));
}

}  // namespace

CSettingDlg::CSettingDlg(const CConf& configuration, const std::wstring& currentPicturePath, FolderPicker folderPicker)
    : CDialogImpl(IDD_SETTINGS),
      conf(configuration),
      currentFolder(FolderOf(currentPicturePath)),
      picker(std::move(folderPicker))
{}

void CSettingDlg::OnInitDialog()
{
    CenterDialog(GetHandle(), GetParent());
    ::SetDlgItemInt(GetHandle(), IDC_INTERVAL, static_cast<UINT>(conf.playinterval), FALSE);
    GetItem(IDC_INTERVAL_SPIN).Send(UDM_SETRANGE32, kMinInterval, kMaxInterval);

    folderList = GetItem(IDC_FOLDER_LIST);
    ListView_SetExtendedListViewStyleEx(folderList, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    FillFolderList();
    FillStyles();
    ::CheckDlgButton(GetHandle(), IDC_AUTORUN, IsRunAtStartup() ? BST_CHECKED : BST_UNCHECKED);
}

void CSettingDlg::FillFolderList()
{
    const UINT headers[] = {IDS_COLUMN_PATH, IDS_COLUMN_CURRENT};
    for (int column = 0; column < static_cast<int>(std::size(headers)); ++column) {
        std::wstring header = LoadResString(headers[column]);
        LVCOLUMNW info = {};
        info.mask = LVCF_FMT | LVCF_TEXT;
        info.fmt = LVCFMT_LEFT;
        info.pszText = header.data();
        ListView_InsertColumn(folderList, column, &info);
    }
    RECT client = {};
    ::GetClientRect(folderList, &client);
    ListView_SetColumnWidth(folderList, kPathColumn, client.right * 3 / 4);
    ListView_SetColumnWidth(folderList, kMarkColumn, client.right / 4);

    for (const CFolderEntry& folder : conf.folders) {
        const int row = AppendRow(folder.path);
        if (row != kNoRow && SamePathIgnoringCase(folder.path, currentFolder)) {
            SetCellText(folderList, row, kMarkColumn, kMark);
        }
    }
    SelectRow(0);
}

void CSettingDlg::FillStyles()
{
    HWND combo = GetItem(IDC_STYLE);
    for (UINT text : kStyleTexts) {
        ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LoadResString(text).c_str()));
    }
    const bool known = conf.style >= 0 && conf.style < static_cast<int>(std::size(kStyleTexts));
    ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(known ? conf.style : kNoItem), 0);
}

void CSettingDlg::OnAdd()
{
    wchar_t path[kPathChars] = {};
    ::lstrcpynW(path, lastBrowsedFolder.c_str(), static_cast<int>(kPathChars));
    const std::wstring title = LoadResString(IDS_CHOOSE_FOLDER);
    if (!picker || !picker(path, GetHandle(), title.c_str(), kPickerFlags) || path[0] == L'\0') return;

    if (IsFolderListed(path)) {
        Ask(IDS_FOLDER_LISTED, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    AppendRow(path);
    lastBrowsedFolder = path;
}

bool CSettingDlg::IsFolderListed(const wchar_t* path) const
{
    for (int row = 0; row < RowCount(); ++row) {
        if (SamePathIgnoringCase(RowPath(row), path)) return true;
    }
    return false;
}

void CSettingDlg::OnDelete()
{
    const int row = ListView_GetNextItem(folderList, kNoRow, LVNI_SELECTED);
    if (row == kNoRow) return;
    ListView_DeleteItem(folderList, row);
    if (row < RowCount()) {
        SelectRow(row);
    } else if (row > 0) {
        SelectRow(row - 1);
    }
}

void CSettingDlg::OnGoTo()
{
    GoToFolder(ListView_GetNextItem(folderList, kNoRow, LVNI_SELECTED));
}

void CSettingDlg::GoToFolder(int row)
{
    if (row < 0 || row >= RowCount()) return;
    std::wstring folder = RowPath(row);
    // Exact here, unlike the mark at start: a folder differing in case still goes out once.
    if (folder == currentFolder) return;
    currentFolder = folder;
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';

    const CWindow owner = ::GetWindow(GetHandle(), GW_OWNER);
    if (owner != nullptr) owner.Send(WM_SHOW_PICTURE, 0, reinterpret_cast<LPARAM>(folder.c_str()));

    for (int other = 0; other < RowCount(); ++other) {
        SetCellText(folderList, other, kMarkColumn, other == row ? kMark : L"");
    }
}

void CSettingDlg::OnOK()
{
    conf.playinterval = static_cast<int>(::GetDlgItemInt(GetHandle(), IDC_INTERVAL, nullptr, FALSE));
    conf.style = static_cast<int>(GetItem(IDC_STYLE).Send(CB_GETCURSEL));
    conf.folders.clear();
    for (int row = 0; row < RowCount(); ++row) {
        CFolderEntry entry;
        entry.path = RowPath(row);
        conf.folders.push_back(std::move(entry));
    }
    if (!conf.folders.empty() || Ask(IDS_CONFIRM_NO_FOLDERS, MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK) {
        EndDialog(IDOK);
    }
}

void CSettingDlg::OnAutoRun()
{
    const bool wanted = ::IsDlgButtonChecked(GetHandle(), IDC_AUTORUN) == BST_CHECKED;
    // The box shows what will really happen at the next logon, not what was asked for.
    const bool present = SetRunAtStartup(wanted);
    ::CheckDlgButton(GetHandle(), IDC_AUTORUN, present ? BST_CHECKED : BST_UNCHECKED);
}

std::wstring CSettingDlg::RowPath(int row) const
{
    wchar_t text[kPathChars] = {};
    ListView_GetItemText(folderList, row, kPathColumn, text, static_cast<int>(kPathChars));
    return text;
}

int CSettingDlg::AppendRow(std::wstring path)
{
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = RowCount();
    item.pszText = path.data();
    return ListView_InsertItem(folderList, &item);
}

int CSettingDlg::RowCount() const
{
    return ListView_GetItemCount(folderList);
}

void CSettingDlg::SelectRow(int row)
{
    if (row < 0 || row >= RowCount()) return;
    constexpr UINT kState = LVIS_SELECTED | LVIS_FOCUSED;
    ListView_SetItemState(folderList, row, kState, kState);
    ListView_EnsureVisible(folderList, row, FALSE);
}

int CSettingDlg::Ask(UINT textId, UINT type)
{
    return ::MessageBoxW(GetHandle(), LoadResString(textId).c_str(), LoadResString(IDS_PRODUCT).c_str(), type);
}

bool CSettingDlg::OnCommand(int id)
{
    switch (id) {
    case IDC_ADD_FOLDER:
        OnAdd();
        return true;
    case IDC_DELETE_FOLDER:
        OnDelete();
        return true;
    case IDC_GO_TO:
        OnGoTo();
        return true;
    case IDC_AUTORUN:
        OnAutoRun();
        return true;
    default:
        return false;
    }
}

bool CSettingDlg::OnNotify(const NMHDR& header)
{
    if (header.idFrom != IDC_FOLDER_LIST || header.code != static_cast<UINT>(NM_DBLCLK)) return false;
    GoToFolder(reinterpret_cast<const NMITEMACTIVATE&>(header).iItem);
    return true;
}

// A control may act on its own notifications: what the dialog passes over
// goes back to the control that sent it.
LRESULT CSettingDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    HWND sender = nullptr;
    if (msg == WM_COMMAND) {
        if (RunCommand(LOWORD(wParam))) return 0;
        sender = reinterpret_cast<HWND>(lParam);
    } else if (msg == WM_NOTIFY && IsSentByThisThread()) {
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (OnNotify(header)) return 0;
        sender = header.hwndFrom;
    } else {
        return CDialogImpl::HandleMessage(msg, wParam, lParam);
    }
    if (sender == nullptr || !::IsChild(GetHandle(), sender)) return CWindowBase::HandleMessage(msg, wParam, lParam);
    return ::SendMessageW(sender, OCM__BASE + msg, wParam, lParam);
}
