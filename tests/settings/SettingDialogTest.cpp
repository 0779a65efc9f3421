#include "settings/CSettingDlg.h"

#include "resources/resource.h"
#include "settings/StartupShortcut.h"
#include "tests/support/DialogCheck.h"
#include "tests/support/TestFiles.h"
#include "win/AppMessages.h"
#include "win/ComPtr.h"
#include "win/ResourceInstance.h"
#include "win/CWindow.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <olectl.h>
#include <shlobj.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

// The settings dialog made from its template, modeless, owned by a test
// window that records what the dialog sends it and answers, from inside
// their own modal loops, the message boxes and pickers the dialog opens.

namespace {

const std::wstring kA = L"C:\\Pics\\A";
const std::wstring kB = L"C:\\Pics\\b";
const std::wstring kStrasse = L"C:\\Pics\\Stra\u00dfe";
const std::vector<std::wstring> kThree = {kA, kB, kStrasse};
constexpr int kNone = -1;
constexpr UINT kAnswerPeriodMs = 20;

class TestOwner {
public:
    struct Box {
        std::wstring caption;
        std::wstring message;
        bool canCancel;
        bool titled;  // shows the picker's title line
        POINT centre;
    };

    TestOwner()
    {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = &TestOwner::WindowProc;
        windowClass.lpszClassName = L"LumivaneSettingsTestOwner";
        ::RegisterClassW(&windowClass);
        hwnd = ::CreateWindowW(windowClass.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 400, 300, nullptr, nullptr, nullptr,
                               nullptr);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ::SetTimer(hwnd, 1, kAnswerPeriodMs, nullptr);
    }
    ~TestOwner() { ::DestroyWindow(hwnd); }

    HWND hwnd = nullptr;
    HWND dialog = nullptr;
    int answer = IDOK;
    std::vector<std::wstring> shown;  // the folders of WM_SHOW_PICTURE
    std::vector<Box> boxes;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<TestOwner*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self != nullptr && msg == WM_SHOW_PICTURE) self->shown.push_back(reinterpret_cast<wchar_t*>(lParam));
        if (self != nullptr && msg == WM_TIMER) self->AnswerBox();
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }

    void AnswerBox()
    {
        HWND box = ::GetActiveWindow();
        if (box == nullptr || box == dialog || box == hwnd || box == answered) return;
        answered = box;
        wchar_t message[512] = {};
        ::GetDlgItemTextW(box, 0xFFFF, message, static_cast<int>(std::size(message)));
        HWND cancel = ::GetDlgItem(box, IDCANCEL);
        const std::wstring title = LoadResString(IDS_CHOOSE_FOLDER);
        RECT rect = {};
        ::GetWindowRect(box, &rect);
        boxes.push_back({CWindow(box).GetText(),
                         message,
                         cancel != nullptr && ::IsWindowVisible(cancel) != FALSE,
                         ::FindWindowExW(box, nullptr, L"Static", title.c_str()) != nullptr,
                         {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}});
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
    }

    HWND answered = nullptr;
};

CConf MakeConf(const std::vector<std::wstring>& paths, int style = Tile)
{
    CConf conf;
    conf.style = style;
    for (const std::wstring& path : paths) conf.folders.push_back({path, L"12345", true});
    return conf;
}

bool NoPicker(wchar_t*, HWND, const wchar_t*, UINT)
{
    ADD_FAILURE() << "the folder picker was opened";
    return false;
}

std::wstring StartupFolder()
{
    wchar_t path[MAX_PATH] = {};
    ::SHGetSpecialFolderPathW(nullptr, path, CSIDL_STARTUP, TRUE);
    return path;
}

std::wstring LinkTarget(const std::wstring& link)
{
    ComPtr<IShellLinkW> shellLink;
    ComPtr<IPersistFile> file;
    wchar_t target[MAX_PATH] = {};
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                     reinterpret_cast<void**>(shellLink.Put()))) &&
        SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Put()))) &&
        SUCCEEDED(file->Load(link.c_str(), STGM_READ))) {
        shellLink->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
    }
    return target;
}

int g_initDialogs = 0;
LRESULT CALLBACK CountInitDialog(int code, WPARAM wParam, LPARAM lParam)
{
    g_initDialogs += reinterpret_cast<const CWPSTRUCT*>(lParam)->message == WM_INITDIALOG;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK RecordReflected(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR seen)
{
    if (msg == OCM_NOTIFY || msg == OCM_COMMAND) reinterpret_cast<std::vector<UINT>*>(seen)->push_back(msg);
    return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

class SettingDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::CoInitialize(nullptr);
        RemoveLink();
    }

    void TearDown() override
    {
        dialog.reset();
        RemoveLink();
        ::CoUninitialize();
    }

    void RemoveLink()
    {
        ::SetFileAttributesW(link.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(link.c_str());
    }

    HWND Open(const CConf& conf, const std::wstring& picture = L"", FolderPicker picker = &NoPicker)
    {
        dialog = std::make_unique<CSettingDlg>(conf, picture, picker);
        owner.dialog = dialog->CreateForTesting(owner.hwnd);
        EXPECT_NE(nullptr, owner.dialog) << "error " << ::GetLastError();
        list = dialog->GetItem(IDC_FOLDER_LIST);
        return owner.dialog;
    }

    bool IsOpen() const { return ::IsWindow(owner.dialog) != FALSE; }

    void Click(int id)
    {
        if (id == IDC_AUTORUN) {
            dialog->GetItem(id).Send(BM_CLICK);
            return;
        }
        ::SendMessageW(owner.dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(dialog->GetItem(id).GetHandle()));
    }

    void DoubleClick(int row)
    {
        NMITEMACTIVATE activate = {};
        activate.hdr = {list, IDC_FOLDER_LIST, static_cast<UINT>(NM_DBLCLK)};
        activate.iItem = row;
        ::SendMessageW(owner.dialog, WM_NOTIFY, IDC_FOLDER_LIST, reinterpret_cast<LPARAM>(&activate));
    }

    std::vector<std::wstring> Column(int column) const
    {
        std::vector<std::wstring> texts;
        for (int row = 0; row < ListView_GetItemCount(list); ++row) {
            wchar_t text[MAX_PATH] = {};
            ListView_GetItemText(list, row, column, text, MAX_PATH);
            texts.push_back(text);
        }
        return texts;
    }

    std::vector<int> MarkedRows() const
    {
        std::vector<int> rows;
        const std::vector<std::wstring> marks = Column(1);
        for (size_t row = 0; row < marks.size(); ++row) {
            if (!marks[row].empty()) rows.push_back(marks[row] == L"*" ? static_cast<int>(row) : -2);
        }
        return rows;
    }

    int Selected() const { return ListView_GetNextItem(list, kNone, LVNI_SELECTED); }
    int Focused() const { return ListView_GetNextItem(list, kNone, LVNI_FOCUSED); }
    void Select(int row)
    {
        ListView_SetItemState(list, kNone, 0, LVIS_SELECTED);
        ListView_SetItemState(list, row, LVIS_SELECTED, LVIS_SELECTED);
    }
    bool Ticked() const { return ::IsDlgButtonChecked(owner.dialog, IDC_AUTORUN) == BST_CHECKED; }

    TestOwner owner;
    std::unique_ptr<CSettingDlg> dialog;
    HWND list = nullptr;
    const std::wstring link = StartupFolder() + L"\\Lumivane.lnk";
};

}  // namespace

TEST_F(SettingDialogTest, OpensWithTheCopyShown)
{
    struct Case {
        const char* name;
        std::wstring picture;
        std::vector<int> marked;
    } const cases[] = {
        {"same case", kB + L"\\x.jpg", {1}},
        {"differs only in case", L"C:\\PICS\\B\\x.jpg", {1}},
        {"only a linguistic match", L"C:\\Pics\\STRASSE\\x.jpg", {}},
        {"a folder below a listed one", kB + L"\\sub\\x.jpg", {}},
        {"no current picture", L"", {}},
    };
    for (const Case& c : cases) {
        CConf conf = MakeConf(kThree, Stretch);
        conf.playinterval = 42;
        Open(conf, c.picture);
        EXPECT_EQ(kThree, Column(0)) << c.name;
        EXPECT_EQ(c.marked, MarkedRows()) << c.name;
        EXPECT_EQ(0, Selected()) << c.name;
        EXPECT_EQ(0, Focused()) << c.name;
        EXPECT_EQ(L"42", dialog->GetItem(IDC_INTERVAL).GetText()) << c.name;
        EXPECT_EQ(Stretch, ::SendMessageW(dialog->GetItem(IDC_STYLE), CB_GETCURSEL, 0, 0)) << c.name;
        EXPECT_FALSE(Ticked()) << c.name;
    }

    Open(MakeConf({}));
    EXPECT_EQ(kNone, Selected());
    EXPECT_TRUE(ListView_GetExtendedListViewStyle(list) & LVS_EX_FULLROWSELECT);
    RECT client = {};
    ::GetClientRect(list, &client);
    EXPECT_EQ(client.right * 3 / 4, ListView_GetColumnWidth(list, 0));
    EXPECT_EQ(client.right / 4, ListView_GetColumnWidth(list, 1));
    const std::wstring headers[] = {L"\u8def\u5f84", L"\u5f53\u524d\u56fe\u7247"};
    const std::wstring items[] = {L"\u5c45\u4e2d", L"\u5e73\u94fa", L"\u62c9\u4f38"};  // centre, tile, stretch
    for (int i = 0; i < 3; ++i) {
        wchar_t text[64] = {};
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT;
        column.pszText = text;
        column.cchTextMax = 64;
        if (i < 2) {
            EXPECT_TRUE(ListView_GetColumn(list, i, &column));
            EXPECT_EQ(headers[i], text);
        }
        ::SendMessageW(dialog->GetItem(IDC_STYLE), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(items[i], text) << "item " << i;
    }
    EXPECT_EQ(Tile, ::SendMessageW(dialog->GetItem(IDC_STYLE), CB_GETCURSEL, 0, 0));
    int low = 0;
    int high = 0;
    ::SendMessageW(dialog->GetItem(IDC_INTERVAL_SPIN), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                   reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(1, low);
    EXPECT_EQ(86400, high);
}

TEST_F(SettingDialogTest, DeleteSelectsTheRowThatTakesItsPlace)
{
    struct Case {
        const char* name;
        std::vector<std::wstring> rows;
        int selected;
        std::vector<std::wstring> left;
        int selectedAfter;
    } const cases[] = {
        {"the only row", {kA}, 0, {}, kNone},
        {"last of three", kThree, 2, {kA, kB}, 1},
        {"first of three", kThree, 0, {kB, kStrasse}, 0},
        {"middle of three", kThree, 1, {kA, kStrasse}, 1},
        {"nothing selected", kThree, kNone, kThree, kNone},
    };
    for (const Case& c : cases) {
        Open(MakeConf(c.rows));
        Select(c.selected);
        Click(IDC_DELETE_FOLDER);
        EXPECT_EQ(c.left, Column(0)) << c.name;
        EXPECT_EQ(c.selectedAfter, Selected()) << c.name;
        if (c.selectedAfter != kNone) {
            EXPECT_EQ(c.selectedAfter, Focused()) << c.name;
        }
    }
}

TEST_F(SettingDialogTest, AddTakesThePickersFolderUnlessItIsListed)
{
    struct Answer {
        bool chosen;
        std::wstring path;
        std::wstring first;  // the picker's first selection expected
    };
    const std::vector<Answer> answers = {
        {false, L"", L""},
        {true, L"", L""},
        {true, L"D:\\New", L""},
        {true, L"c:\\pics\\A", L"D:\\New"},
        {true, L"C:\\Pics\\STRASSE", L"D:\\New"},
    };
    size_t call = 0;
    Open(MakeConf(kThree), L"", [&](wchar_t* buffer, HWND ownerWindow, const wchar_t* title, UINT flags) {
        const Answer& answer = answers.at(call++);
        EXPECT_EQ(answer.first, buffer) << "call " << call;
        EXPECT_EQ(owner.dialog, ownerWindow);
        EXPECT_EQ(LoadResString(IDS_CHOOSE_FOLDER), title);
        EXPECT_EQ(0x51u, flags);
        ::lstrcpynW(buffer, answer.path.c_str(), MAX_PATH);
        return answer.chosen;
    });
    for (size_t i = 0; i < answers.size(); ++i) Click(IDC_ADD_FOLDER);

    EXPECT_EQ(answers.size(), call);
    const std::vector<std::wstring> rows = {kA, kB, kStrasse, L"D:\\New", L"C:\\Pics\\STRASSE"};
    EXPECT_EQ(rows, Column(0));
    EXPECT_TRUE(MarkedRows().empty());
    EXPECT_EQ(0, Selected());
    ASSERT_EQ(1u, owner.boxes.size()) << "only the folder differing in case is refused";
    EXPECT_EQ(L"Lumivane", owner.boxes[0].caption);
    EXPECT_EQ(LoadResString(IDS_FOLDER_LISTED), owner.boxes[0].message);
    EXPECT_FALSE(owner.boxes[0].canCancel);
}

TEST_F(SettingDialogTest, GoToSendsAFolderOnlyWhenItIsNotTheCurrentOne)
{
    Open(MakeConf({kA, kB, L"D:\\"}), L"C:\\PICS\\B\\x.jpg");
    std::vector<std::wstring> sent;
    struct Step {
        const char* name;
        int row;
        bool doubleClick;
        const wchar_t* sends;  // null: nothing
        int marked;
    } const steps[] = {
        {"marked row, other case", 1, false, L"C:\\Pics\\b\\", 1},
        {"the same row again", 1, false, nullptr, 1},
        {"double click", 0, true, L"C:\\Pics\\A\\", 0},
        {"folder ending in a backslash", 2, true, L"D:\\", 2},
        {"double click beside the rows", kNone, true, nullptr, 2},
        {"nothing selected", kNone, false, nullptr, 2},
    };
    for (const Step& s : steps) {
        Select(s.doubleClick ? kNone : s.row);
        if (s.doubleClick)
            DoubleClick(s.row);
        else
            Click(IDC_GO_TO);
        if (s.sends != nullptr) sent.push_back(s.sends);
        EXPECT_EQ(Show(sent), Show(owner.shown)) << s.name;
        EXPECT_EQ(std::vector<int>{s.marked}, MarkedRows()) << s.name;
    }
}

TEST_F(SettingDialogTest, NotificationsItPassesOverGoBackToTheirControl)
{
    Open(MakeConf(kThree));
    std::vector<UINT> listSeen;
    std::vector<UINT> editSeen;
    ::SetWindowSubclass(list, &RecordReflected, 1, reinterpret_cast<DWORD_PTR>(&listSeen));
    ::SetWindowSubclass(dialog->GetItem(IDC_INTERVAL), &RecordReflected, 1, reinterpret_cast<DWORD_PTR>(&editSeen));
    DoubleClick(0);
    EXPECT_TRUE(listSeen.empty()) << "a handled double click is not passed on";
    Select(1);
    ::SetDlgItemTextW(owner.dialog, IDC_INTERVAL, L"5");
    EXPECT_NE(listSeen.end(), std::find(listSeen.begin(), listSeen.end(), UINT{OCM_NOTIFY}));
    EXPECT_NE(editSeen.end(), std::find(editSeen.begin(), editSeen.end(), UINT{OCM_COMMAND}));
    ::RemoveWindowSubclass(list, &RecordReflected, 1);
    ::RemoveWindowSubclass(dialog->GetItem(IDC_INTERVAL), &RecordReflected, 1);
}

TEST_F(SettingDialogTest, OkStoresTheEditedCopy)
{
    struct Case {
        std::wstring typed;
        int interval;
        int style;  // the copy's
        int pick;   // the combo item chosen, or kNone
        int stored;
    } const cases[] = {
        {L"0", 0, Tile, kNone, Tile},
        {L"100000", 100000, Center, Stretch, Stretch},
        {L"abc", 0, 5, kNone, kNone},
        {L"30", 30, Stretch, Center, Center},
    };
    for (const Case& c : cases) {
        const std::string name = Narrow(c.typed);
        CConf conf = MakeConf(kThree, c.style);
        conf.fileName = L"C:\\data\\lumi.ini";
        conf.lastpic = kA + L"\\last.jpg";
        conf.state = CConf::kStatePaused;
        Open(conf);
        ::SetDlgItemTextW(owner.dialog, IDC_INTERVAL, c.typed.c_str());
        if (c.pick != kNone) ::SendMessageW(dialog->GetItem(IDC_STYLE), CB_SETCURSEL, c.pick, 0);
        Select(0);
        Click(IDC_DELETE_FOLDER);
        Click(IDOK);

        EXPECT_FALSE(IsOpen()) << name;
        EXPECT_EQ(IDOK, dialog->GetResultForTesting()) << name;
        const CConf& edited = dialog->GetConf();
        EXPECT_EQ(c.interval, edited.playinterval) << name;
        EXPECT_EQ(c.stored, edited.style) << name;
        ASSERT_EQ(2u, edited.folders.size()) << name;
        EXPECT_EQ(kB, edited.folders[0].path) << name;
        EXPECT_EQ(kStrasse, edited.folders[1].path) << name;
        for (const CFolderEntry& folder : edited.folders) {
            EXPECT_EQ(L"", folder.time) << name;
            EXPECT_FALSE(folder.changed) << name;
        }
        EXPECT_EQ(conf.fileName, edited.fileName) << name;
        EXPECT_EQ(conf.lastpic, edited.lastpic) << name;
        EXPECT_EQ(conf.state, edited.state) << name;
    }
    EXPECT_TRUE(owner.boxes.empty());
}

TEST_F(SettingDialogTest, OkWithNoFolderAsksFirst)
{
    Open(MakeConf({kA}));
    Click(IDC_DELETE_FOLDER);
    ::SetDlgItemTextW(owner.dialog, IDC_INTERVAL, L"7");

    owner.answer = IDCANCEL;
    Click(IDOK);
    ASSERT_EQ(1u, owner.boxes.size());
    EXPECT_EQ(L"Lumivane", owner.boxes[0].caption);
    EXPECT_EQ(LoadResString(IDS_CONFIRM_NO_FOLDERS), owner.boxes[0].message);
    EXPECT_TRUE(owner.boxes[0].canCancel);
    ASSERT_TRUE(IsOpen()) << "cancel keeps the dialog open";
    EXPECT_TRUE(dialog->GetConf().folders.empty());
    EXPECT_EQ(7, dialog->GetConf().playinterval);

    owner.answer = IDOK;
    Click(IDOK);
    EXPECT_EQ(2u, owner.boxes.size());
    EXPECT_FALSE(IsOpen());
    EXPECT_EQ(IDOK, dialog->GetResultForTesting());
}

TEST_F(SettingDialogTest, StartupBoxActsAtOnceAndCancelKeepsOnlyTheCopy)
{
    const CConf conf = MakeConf(kThree);
    Open(conf);
    EXPECT_FALSE(Ticked());
    Click(IDC_AUTORUN);
    EXPECT_TRUE(Ticked());
    wchar_t exe[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    EXPECT_EQ(Narrow(exe), Narrow(LinkTarget(link)));

    Click(IDC_AUTORUN);
    EXPECT_FALSE(Ticked());
    EXPECT_FALSE(FileIsThere(link));

    Click(IDC_AUTORUN);
    Click(IDC_DELETE_FOLDER);
    ::SetDlgItemTextW(owner.dialog, IDC_INTERVAL, L"99");
    Click(IDCANCEL);
    EXPECT_FALSE(IsOpen());
    EXPECT_EQ(IDCANCEL, dialog->GetResultForTesting());
    EXPECT_EQ(conf.playinterval, dialog->GetConf().playinterval);
    EXPECT_EQ(kThree.size(), dialog->GetConf().folders.size());
    EXPECT_TRUE(FileIsThere(link)) << "cancel does not undo the box";

    Open(conf);
    EXPECT_TRUE(Ticked()) << "the box shows the shortcut that is there";
}

// The box always ends showing whether the shortcut is there, so it never
// claims a start at logon that will not happen.
TEST_F(SettingDialogTest, StartupBoxShowsWhatReallyHappened)
{
    const std::wstring folder = StartupFolder();
    const std::wstring aside = folder + L".aside";

    ASSERT_TRUE(::MoveFileW(folder.c_str(), aside.c_str())) << "error " << ::GetLastError();
    Open(MakeConf(kThree));
    Click(IDC_AUTORUN);
    EXPECT_FALSE(Ticked()) << "no start-up folder, no shortcut";
    EXPECT_TRUE(GetStartupShortcutPath().empty());
    ASSERT_TRUE(::MoveFileW(aside.c_str(), folder.c_str())) << "error " << ::GetLastError();

    ASSERT_TRUE(SetRunAtStartup(true));
    ASSERT_TRUE(::SetFileAttributesW(link.c_str(), FILE_ATTRIBUTE_READONLY));
    Open(MakeConf(kThree));
    EXPECT_TRUE(Ticked());
    Click(IDC_AUTORUN);
    EXPECT_TRUE(FileIsThere(link));
    EXPECT_TRUE(Ticked()) << "a shortcut that cannot be deleted still starts the program";
    EXPECT_TRUE(owner.boxes.empty()) << "failures are not reported";
}

TEST_F(SettingDialogTest, RealPickerCancelledChangesNothing)
{
    Open(MakeConf(kThree), L"", &BrowseForFolder);
    owner.answer = IDCANCEL;
    Click(IDC_ADD_FOLDER);
    ASSERT_EQ(1u, owner.boxes.size()) << "the picker did not open";
    EXPECT_TRUE(owner.boxes[0].titled);
    RECT desktop = {};
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    EXPECT_NEAR((desktop.left + desktop.right) / 2, owner.boxes[0].centre.x, 1);
    EXPECT_NEAR((desktop.top + desktop.bottom) / 2, owner.boxes[0].centre.y, 1);
    EXPECT_EQ(kThree, Column(0));
    EXPECT_TRUE(IsOpen());
}

TEST_F(SettingDialogTest, ShowsItsControlsInTabOrder)
{
    // Message hooks and accessibility tools see it open once, with the focus on the first tab stop.
    HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, &CountInitDialog, nullptr, ::GetCurrentThreadId());
    HWND shown = Open(MakeConf(kThree));
    ::UnhookWindowsHookEx(hook);
    EXPECT_EQ(1, g_initDialogs);
    EXPECT_EQ(list, ::GetFocus()) << "no control has the focus";
    ExpectDialogShows(shown, L"Lumivane\u8bbe\u7f6e",
                      {
                          {IDC_STATIC, L"Static", L"\u56fe\u7247\u6587\u4ef6\u5939\uff1a"},
                          {IDC_FOLDER_LIST, WC_LISTVIEWW, L""},
                          {IDC_ADD_FOLDER, L"Button", L"\u6dfb\u52a0"},
                          {IDC_DELETE_FOLDER, L"Button", L"\u5220\u9664"},
                          {IDC_STATIC, L"Static", L"\u64ad\u653e\u95f4\u9694\uff1a"},
                          {IDC_INTERVAL, L"Edit", nullptr},
                          {IDC_INTERVAL_SPIN, UPDOWN_CLASSW, L""},
                          {IDC_STATIC, L"Static", L"\u79d2"},
                          {IDC_STATIC, L"Static", L"\u4f4d\u7f6e\uff1a"},
                          {IDC_STYLE, WC_COMBOBOXW, nullptr},
                          {IDC_STATIC, L"Static", L""},
                          {IDC_AUTORUN, L"Button", L"\u5f00\u673a\u65f6\u81ea\u52a8\u8fd0\u884c"},
                          {IDOK, L"Button", L"\u786e\u5b9a"},
                          {IDCANCEL, L"Button", L"\u53d6\u6d88"},
                          {IDC_GO_TO, L"Button", L"\u8f6c\u5230"},
                      },
                      {IDC_FOLDER_LIST, IDC_ADD_FOLDER, IDC_DELETE_FOLDER, IDC_INTERVAL, IDC_STYLE, IDC_AUTORUN, IDOK,
                       IDCANCEL, IDC_GO_TO});
    // The arrows step the interval.
    EXPECT_EQ(dialog->GetItem(IDC_INTERVAL).GetHandle(),
              reinterpret_cast<HWND>(dialog->GetItem(IDC_INTERVAL_SPIN).Send(UDM_GETBUDDY)));
    // The folders in a table, one chosen at a time; the positions only to pick from.
    EXPECT_EQ(LV_VIEW_DETAILS, ListView_GetView(list));
    ListView_SetItemState(list, 1, LVIS_SELECTED, LVIS_SELECTED);
    ListView_SetItemState(list, 2, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(1u, ListView_GetSelectedCount(list));
    EXPECT_EQ(nullptr, ::FindWindowExW(dialog->GetItem(IDC_STYLE), nullptr, L"Edit", nullptr));
}
