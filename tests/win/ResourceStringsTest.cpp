#include "resources/resource.h"
#include "win/ResourceInstance.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

namespace {

// One image of an icon resource, as its group directory lists it.
struct IconImage {
    int size;
    int bits;
    bool operator==(const IconImage& other) const { return size == other.size && bits == other.bits; }
};

// Reads the group directory itself: loading an icon at a size would stretch
// whatever image is there and hide a missing one.
std::vector<IconImage> IconImages(UINT id)
{
    constexpr size_t kHeaderBytes = 6;
    constexpr size_t kEntryBytes = 14;
    constexpr size_t kBitsOffset = 6;
    std::vector<IconImage> images;
    HRSRC found = ::FindResourceW(GetResourceInstance(), MAKEINTRESOURCEW(id), RT_GROUP_ICON);
    if (found == nullptr) return images;
    const auto* bytes = static_cast<const BYTE*>(::LockResource(::LoadResource(GetResourceInstance(), found)));
    const DWORD length = ::SizeofResource(GetResourceInstance(), found);
    if (bytes == nullptr || length < kHeaderBytes) return images;
    const size_t count = bytes[4] | (bytes[5] << 8);
    for (size_t i = 0; i < count && kHeaderBytes + (i + 1) * kEntryBytes <= length; ++i) {
        const BYTE* entry = bytes + kHeaderBytes + i * kEntryBytes;
        const int size = entry[0] == 0 ? 256 : entry[0];
        images.push_back({size, entry[kBitsOffset] | (entry[kBitsOffset + 1] << 8)});
    }
    return images;
}

std::string Describe(const std::vector<IconImage>& images)
{
    std::string text;
    for (const IconImage& image : images) text += std::to_string(image.size) + "px/" + std::to_string(image.bits) + " ";
    return text;
}

}  // namespace

TEST(ResourceIcons, EachIconHoldsItsImages)
{
    struct Case {
        UINT id;
        std::vector<IconImage> images;
    } const cases[] = {
        {IDI_PROGRAM, {{256, 32}, {48, 32}, {32, 32}, {24, 32}, {20, 32}, {16, 32}}},
        {IDI_PLAYING, {{32, 32}, {24, 32}, {20, 32}, {16, 32}}},
        {IDI_PAUSED, {{32, 32}, {24, 32}, {20, 32}, {16, 32}}},
    };
    for (const Case& c : cases) {
        const std::vector<IconImage> images = IconImages(c.id);
        EXPECT_TRUE(images == c.images) << "icon " << c.id << ": " << Describe(images);
    }
}
