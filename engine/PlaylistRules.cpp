#include "engine/PlaylistRules.h"

#include "win/AsciiCase.h"

#include <algorithm>

namespace {

const wchar_t* const kPictureExtensions[] = {L".jpg", L".jpeg", L".bmp", L".png", L".gif"};

bool EqualsAsciiNoCase(const wchar_t* a, const wchar_t* b, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

}  // namespace

int StepForward(int position, int count)
{
    if (position < 0 || position >= count - 1) return 0;
    return position + 1;
}

int StepBackward(int position, int count)
{
    // From past the end too, so the step never leaves the list.
    if (position <= 0 || position > count) return count - 1;
    return position - 1;
}

DeleteStep StepAfterDelete(int index, int position, int countAfter)
{
    if (index < position) return {position - 1, false};
    if (index > position) return {position, false};
    const int next = position >= countAfter ? 0 : position;
    return {next, countAfter > 0};
}

bool StartsWithAsciiNoCase(const std::wstring& text, const std::wstring& prefix)
{
    return text.size() >= prefix.size() && EqualsAsciiNoCase(text.c_str(), prefix.c_str(), prefix.size());
}

bool IsPictureExtension(const std::wstring& extension)
{
    for (const wchar_t* picture : kPictureExtensions) {
        const std::wstring wanted(picture);
        if (extension.size() == wanted.size() && StartsWithAsciiNoCase(extension, wanted)) return true;
    }
    return false;
}

bool TakeListLine(std::string_view& rest, std::string_view& line)
{
    if (rest.empty()) return false;
    const size_t end = rest.find('\n');
    line = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    if (end != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    return true;
}

size_t CountListLines(std::string_view bytes)
{
    const size_t lineFeeds = static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
    return lineFeeds + (!bytes.empty() && bytes.back() != '\n' ? 1 : 0);
}
