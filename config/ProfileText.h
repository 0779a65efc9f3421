#pragma once

#include <string>
#include <unordered_map>
#include <vector>

// The text of an INI file, changed the way the platform's profile writer
// changes it: a key that exists is rewritten where it stands, a new key goes
// after the last line of its section, a new section goes at the end. Every
// other line (comments, unknown keys and sections, blank lines) stays as it
// was, so earlier versions of the program read the result as before.
// Names match without regard to ASCII letter case, and only the first
// section of a name counts, as for the profile reader.
class ProfileText {
public:
    explicit ProfileText(const std::wstring& text);

    // The value as the profile reader returns it: without the spaces around
    // it or the quotes that enclose it, and up to a NUL. Empty when missing.
    std::wstring Get(const std::wstring& section, const std::wstring& key) const;
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
