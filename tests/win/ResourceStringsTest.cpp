#include "resources/resource.h"
#include "win/ResourceInstance.h"

#include <gtest/gtest.h>

// The resource script is UTF-8; a build that reads it in another code page
// garbles every Chinese text silently. These compare the loaded text.
TEST(ResourceStrings, ChineseTextsLoadExactly)
{
    struct Case {
        UINT id;
        const wchar_t* text;
    } const cases[] = {
        {IDS_FRAME_CAPTION, L"Lumivane"},
        {IDS_PRODUCT, L"Lumivane"},
        {IDS_CONFIRM_DELETE, L"\u786e\u5b9e\u8981\u5220\u9664\u5f53\u524d\u56fe\u7247%s\u5417\uff1f"},
        {IDS_WARNING, L"\u8b66\u544a"},
        {IDS_PAUSE, L"\u6682\u505c(&S)"},
        {IDS_START, L"\u5f00\u59cb(&S)"},
        {IDS_CENTER, L"\u5c45\u4e2d"},
        {IDS_CONFIRM_NO_FOLDERS,
         L"\u60a8\u6ca1\u6709\u8bbe\u7f6e\u56fe\u7247\u6587\u4ef6\u5939\uff0c\u786e\u5b9a\u9000\u51fa\u5417\uff1f"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(std::wstring(c.text), LoadResString(c.id)) << "string id " << c.id;
    }
}

TEST(ResourceStrings, MissingIdLoadsEmpty)
{
    EXPECT_TRUE(LoadResString(9999).empty());
}

TEST(ResourceIcons, ProgramIconHasEveryClassSize)
{
    for (int size : {16, 32, 48}) {
        HANDLE icon = ::LoadImageW(GetResourceInstance(), MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON, size, size,
                                   LR_DEFAULTCOLOR);
        ASSERT_NE(nullptr, icon) << "size " << size;
        ICONINFO info = {};
        ASSERT_TRUE(::GetIconInfo(static_cast<HICON>(icon), &info));
        BITMAP bitmap = {};
        ::GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
        EXPECT_EQ(size, bitmap.bmWidth);
        ::DeleteObject(info.hbmColor);
        ::DeleteObject(info.hbmMask);
        ::DestroyIcon(static_cast<HICON>(icon));
    }
}
