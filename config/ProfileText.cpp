#include "config/ProfileText.h"

#include <algorithm>

namespace {

// The profile reader trims these around names and values; 0x1A is the old end-of-file mark.
bool IsProfileSpace(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f' || c == 0x1A;
}

std::wstring Trim(const std::wstring& text)
{
    size_t first = 0;
    size_t last = text.size();
    while (first < last && IsProfileSpace(text[first])) ++first;
    while (last > first && IsProfileSpace(text[last - 1])) --last;
    return text.substr(first, last - first);
}

std::wstring FoldAscii(std::wstring text)
{
    for (wchar_t& c : text) {
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return text;
}

// The name in a "[name]" line, up to its last bracket; false for any other line.
bool SectionNameOf(const std::wstring& line, std::wstring& name)
{
    const std::wstring trimmed = Trim(line);
    const size_t close = trimmed.rfind(L']');
    if (trimmed.empty() || trimmed[0] != L'[' || close == std::wstring::npos) return false;
    name = trimmed.substr(1, close - 1);
    return true;
}

// Where the section's first line for the key stands, or 0 (the header's
// place) when it has none. A line without '=' is a key without a value.
size_t FindKey(const std::vector<std::wstring>& lines, const std::wstring& key)
{
    const std::wstring wanted = FoldAscii(key);
    for (size_t i = 1; i < lines.size(); ++i) {
        if (FoldAscii(Trim(lines[i].substr(0, lines[i].find(L'=')))) == wanted) return i;
    }
    return 0;
}

bool IsQuoted(const std::wstring& value)
{
    return value.size() > 1 && (value[0] == L'"' || value[0] == L'\'') && value.back() == value[0];
}

std::wstring Unquote(const std::wstring& value)
{
    return IsQuoted(value) ? value.substr(1, value.size() - 2) : value;
}

// A value the reader would change, with blanks around it or quotes of its
// own, goes in quotes, which the reader takes off again.
std::wstring StoredValue(const std::wstring& value)
{
    const bool changed =
        !value.empty() && (IsProfileSpace(value[0]) || IsProfileSpace(value.back()) || IsQuoted(value));
    return changed ? L'"' + value + L'"' : value;
}

std::vector<std::wstring> SplitLines(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        size_t length = end - start;
        if (length > 0 && text[end - 1] == L'\r') --length;
        lines.push_back(text.substr(start, length));
        start = end + 1;
    }
    return lines;
}

}  // namespace

ProfileText::ProfileText(const std::wstring& text)
{
    sections.emplace_back();
    std::wstring name;
    for (std::wstring& line : SplitLines(text)) {
        if (SectionNameOf(line, name)) {
            sectionIndex.emplace(FoldAscii(name), sections.size());
            sections.emplace_back();
            names.push_back(name);
        }
        sections.back().push_back(std::move(line));
    }
}

const ProfileText::Lines* ProfileText::Find(const std::wstring& section) const
{
    const auto found = sectionIndex.find(FoldAscii(section));
    return found == sectionIndex.end() ? nullptr : &sections[found->second];
}

std::wstring ProfileText::Get(const std::wstring& section, const std::wstring& key) const
{
    const Lines* lines = Find(section);
    const size_t at = lines == nullptr ? 0 : FindKey(*lines, key);
    if (at == 0) return std::wstring();
    const std::wstring& line = (*lines)[at];
    const size_t equals = line.find(L'=');
    if (equals == std::wstring::npos) return std::wstring();
    const size_t end = line.find(L'\0', equals);
    return Unquote(Trim(line.substr(equals + 1, end == std::wstring::npos ? end : end - equals - 1)));
}

void ProfileText::Set(const std::wstring& section, const std::wstring& key, const std::wstring& value)
{
    auto found = sectionIndex.find(FoldAscii(section));
    if (found == sectionIndex.end()) {
        found = sectionIndex.emplace(FoldAscii(section), sections.size()).first;
        sections.push_back({L"[" + section + L"]"});
        names.push_back(section);
    }
    Lines& lines = sections[found->second];
    const std::wstring line = key + L"=" + StoredValue(value);
    if (const size_t at = FindKey(lines, key)) {
        lines[at] = line;
        return;
    }
    // Blank lines at the end of a section keep separating it from the next one.
    size_t end = lines.size();
    while (end > 1 && Trim(lines[end - 1]).empty()) --end;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(end), line);
}

std::wstring ProfileText::Text() const
{
    std::wstring text;
    for (const Lines& lines : sections) {
        for (const std::wstring& line : lines) {
            text += line;
            text += L"\r\n";
        }
    }
    return text;
}

std::vector<int> FolderSectionNumbers(const std::vector<std::wstring>& sectionNames, int last)
{
    constexpr size_t kMaxDigits = 10;
    std::vector<int> numbers;
    for (const std::wstring& name : sectionNames) {
        if (name.empty() || name.size() > kMaxDigits || name[0] == L'0') continue;
        if (!std::all_of(name.begin(), name.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; })) continue;
        const long long number = std::stoll(name);
        if (number <= last) numbers.push_back(static_cast<int>(number));
    }
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}
