#pragma once

#include <string>
#include <unordered_map>
#include <vector>

// The text of an INI file, read and changed by the rules of the platform's
// profile functions, so a file edited by hand reads here as it reads there.
// A line ends at CR, LF or CR LF. Section and key names match without regard
// to ASCII letter case, with the blanks around them trimmed and cut at a NUL;
// only the first section of a name, and the first key of a name in it, count.
// A change rewrites a key that exists where it stands, puts a new key after
// the last line of its section and a new section at the end. Every other line
// (comments, unknown keys and sections, blank lines) stays as it was, so
// earlier versions of the program read the result as before.
class ProfileText {
public:
    explicit ProfileText(const std::wstring& text);

    // The value as the profile reader copies it into a buffer of `chars`
    // characters, terminator included: without the blanks around it or one
    // pair of enclosing quotes, up to a NUL, cut to fit. Empty when missing.
    std::wstring Get(const std::wstring& section, const std::wstring& key, size_t chars) const;
    // The value as the profile reader reads a number: after blanks, a sign and
    // the digits of base 10, or of the base "0b", "0o" or "0x" gives, up to the
    // first other character, kept to 32 bits. `fallback` when missing or empty.
    int GetInt(const std::wstring& section, const std::wstring& key, int fallback) const;
    // Writes the value so that Get gives it back, when it fits.
    void Set(const std::wstring& section, const std::wstring& key, const std::wstring& value);

    // The section names in the order of the file.
    const std::vector<std::wstring>& SectionNames() const { return names; }

    // Every line with CR LF after it.
    std::wstring Text() const;

private:
    using Lines = std::vector<std::wstring>;
    const Lines* Find(const std::wstring& section) const;

    // The lines before the first section, then each section's lines, its header first.
    std::vector<Lines> sections;
    std::vector<std::wstring> names;
    std::unordered_map<std::wstring, size_t> sectionIndex;
};

// The numbers of the sections named exactly "1" to "last", ascending and each
// once: the folder sections a configuration holds, found without counting to `last`.
std::vector<int> FolderSectionNumbers(const std::vector<std::wstring>& sectionNames, int last);
