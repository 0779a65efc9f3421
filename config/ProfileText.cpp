#include "config/ProfileText.h"

#include "win/AsciiCase.h"

#include <algorithm>
#include <cstdint>

namespace {

// The profile reader reads a number through a buffer this short.
constexpr size_t kNumberChars = 30;
constexpr unsigned kNotADigit = 36;

// The profile reader trims these around lines, names and values; 0x1A is the old end-of-file mark.
bool IsProfileSpace(wchar_t c)
{
    return c == L' ' || (c >= L'\t' && c <= L'\r') || c == 0x1A;
}

std::wstring Trim(const std::wstring& text)
{
    size_t first = 0;
    size_t last = text.size();
    while (first < last && IsProfileSpace(text[first])) ++first;
    while (last > first && IsProfileSpace(text[last - 1])) --last;
    return text.substr(first, last - first);
}

// The profile reader trims a name or value and then holds it as a zero-terminated string.
std::wstring TrimmedUpToNul(const std::wstring& text)
{
    const std::wstring trimmed = Trim(text);
    return trimmed.substr(0, trimmed.find(L'\0'));
}

std::wstring FoldAscii(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(), AsciiLower);
    return text;
}

// The name in a "[name]" line, up to its last bracket; false for any other line.
bool SectionNameOf(const std::wstring& line, std::wstring& name)
{
    const std::wstring trimmed = Trim(line);
    const size_t close = trimmed.rfind(L']');
    if (trimmed.empty() || trimmed[0] != L'[' || close == std::wstring::npos) return false;
    name = TrimmedUpToNul(trimmed.substr(1, close - 1));
    return true;
}

// Where the section's first line for the key stands, or 0 (the header's
// place) when it has none. A line without '=' is a key without a value.
size_t FindKey(const std::vector<std::wstring>& lines, const std::wstring& key)
{
    const std::wstring wanted = FoldAscii(key);
    for (size_t i = 1; i < lines.size(); ++i) {
        if (FoldAscii(TrimmedUpToNul(lines[i].substr(0, lines[i].find(L'=')))) == wanted) return i;
    }
    return 0;
}

bool IsQuoted(const std::wstring& value)
{
    return value.size() > 1 && (value[0] == L'"' || value[0] == L'\'') && value.back() == value[0];
}

// The value copied as the profile reader copies it: a closing quote it drops
// is the last character copied, which is another one when the buffer was one short.
std::wstring CopyValue(const std::wstring& value, size_t chars)
{
    const bool quoted = IsQuoted(value);
    const std::wstring rest = quoted ? value.substr(1) : value;
    std::wstring copy = rest.substr(0, chars - 1);
    if (quoted && chars >= rest.size() && !copy.empty()) copy.pop_back();
    return copy;
}

// A value the reader would change, with blanks around it or quotes of its
// own, goes in quotes, which the reader takes off again.
std::wstring StoredValue(const std::wstring& value)
{
    const bool changed =
        !value.empty() && (IsProfileSpace(value[0]) || IsProfileSpace(value.back()) || IsQuoted(value));
    return changed ? L'"' + value + L'"' : value;
}

unsigned DigitValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9') return static_cast<unsigned>(c - L'0');
    if (c >= L'a' && c <= L'z') return static_cast<unsigned>(c - L'a' + 10);
    if (c >= L'A' && c <= L'Z') return static_cast<unsigned>(c - L'A' + 10);
    return kNotADigit;
}

// The base a "0b", "0o" or "0x" in front of the digits chooses.
unsigned BaseOfPrefix(wchar_t c)
{
    return c == L'b' ? 2 : c == L'o' ? 8 : c == L'x' ? 16 : 10;
}

// Larger numbers wrap around, as in the profile reader.
int ParseNumber(const std::wstring& text)
{
    size_t at = 0;
    while (at < text.size() && text[at] <= L' ') ++at;
    const bool negative = at < text.size() && text[at] == L'-';
    if (at < text.size() && (text[at] == L'-' || text[at] == L'+')) ++at;
    unsigned base = 10;
    if (text.size() - at >= 2 && text[at] == L'0') base = BaseOfPrefix(text[at + 1]);
    if (base != 10) at += 2;
    uint32_t total = 0;
    for (; at < text.size() && DigitValue(text[at]) < base; ++at) total = total * base + DigitValue(text[at]);
    return static_cast<int32_t>(negative ? 0u - total : total);
}

std::vector<std::wstring> SplitLines(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find_first_of(L"\r\n", start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, L"\r\n") == 0 ? 2 : 1);
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

std::wstring ProfileText::Get(const std::wstring& section, const std::wstring& key, size_t chars) const
{
    const Lines* lines = Find(section);
    const size_t at = lines == nullptr ? 0 : FindKey(*lines, key);
    if (at == 0) return std::wstring();
    const std::wstring& line = (*lines)[at];
    const size_t equals = line.find(L'=');
    if (equals == std::wstring::npos) return std::wstring();
    return CopyValue(TrimmedUpToNul(line.substr(equals + 1)), chars);
}

int ProfileText::GetInt(const std::wstring& section, const std::wstring& key, int fallback) const
{
    const std::wstring text = Get(section, key, kNumberChars);
    return text.empty() ? fallback : ParseNumber(text);
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
