#include "config/ProfileText.h"

#include <gtest/gtest.h>

namespace {

struct Edit {
    const wchar_t* section;
    const wchar_t* key;
    const wchar_t* value;
};

TEST(ProfileText, ChangesOnlyWhatIsSet)
{
    struct Case {
        const wchar_t* before;
        Edit edit;
        const wchar_t* after;
    } const cases[] = {
        // A new file gets the section, then each key after the last one.
        {L"", {L"GENERAL", L"state", L"0"}, L"[GENERAL]\r\nstate=0\r\n"},
        {L"[GENERAL]\r\nstate=0\r\n", {L"GENERAL", L"pathcount", L"2"}, L"[GENERAL]\r\nstate=0\r\npathcount=2\r\n"},
        // A key is rewritten where it stands, its name matched without regard to case or spaces.
        {L"[general]\nState = 1\nx=y", {L"GENERAL", L"state", L"0"}, L"[general]\r\nstate=0\r\nx=y\r\n"},
        // New keys go before the blank lines that end a section; other sections, comments and keys stay.
        {L";c\r\n[1]\r\npath=A\r\n\r\n[GENERAL]\r\nk\r\n",
         {L"1", L"time", L"5"},
         L";c\r\n[1]\r\npath=A\r\ntime=5\r\n\r\n[GENERAL]\r\nk\r\n"},
        // Only the first section of a name counts, as for the reader.
        {L"[1]\r\n[1]\r\npath=B\r\n", {L"1", L"path", L""}, L"[1]\r\npath=\r\n[1]\r\npath=B\r\n"},
        // A name in brackets is taken up to the last bracket; "[1" is no section.
        {L"[1\r\n", {L"1", L"path", L"C"}, L"[1\r\n[1]\r\npath=C\r\n"},
        {L"  [2]x] \r\npath=Q\r\n", {L"2]x", L"path", L"R"}, L"  [2]x] \r\npath=R\r\n"},
        // A value the reader would trim or unquote goes in quotes.
        {L"[1]\r\n", {L"1", L"path", L" C:\\x "}, L"[1]\r\npath=\" C:\\x \"\r\n"},
        {L"[1]\r\n", {L"1", L"path", L"\tC:\\x"}, L"[1]\r\npath=\"\tC:\\x\"\r\n"},
    };
    for (const Case& c : cases) {
        ProfileText text(c.before);
        text.Set(c.edit.section, c.edit.key, c.edit.value);
        EXPECT_EQ(std::wstring(c.after), text.Text()) << testing::PrintToString(std::wstring(c.before));
    }
}

}  // namespace
