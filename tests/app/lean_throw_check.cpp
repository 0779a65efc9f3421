// The program's handlers must see a misused container as a standard
// exception whose text names the failed check, and a failed allocation as
// bad_alloc, with the program's lean replacements linked in instead of
// libstdc++'s own. GoogleTest needs those, so this checks without it.

#include <cstdio>
#include <cstring>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

int passed = 0;
int failed = 0;

void Check(bool ok, const char* what)
{
    ok ? ++passed : ++failed;
    if (!ok) std::printf("FAIL %s\n", what);
}

}  // namespace

int main()
{
    const struct {
        const char* check;
        std::function<void()> misuse;
    } cases[] = {
        {"substr", [] { (void)std::wstring(L"ab").substr(3); }},
        {"_M_range_check", [] { (void)std::vector<int>().at(0); }},
        {"construction from null", [] { std::string text(static_cast<const char*>(nullptr)); }},
        {"_M_create", [] { std::wstring().reserve(std::wstring().max_size() + 1); }},
    };
    for (const auto& c : cases) {
        try {
            c.misuse();
            Check(false, c.check);
        } catch (const std::exception& e) {
            Check(std::strstr(e.what(), c.check) != nullptr, c.check);
            // libstdc++'s own logic_error family is what the program leaves out.
            Check(dynamic_cast<const std::logic_error*>(&e) == nullptr, "not a logic_error");
        }
    }
    try {
        std::vector<char>().reserve(std::vector<char>().max_size());
        Check(false, "bad_alloc");
    } catch (const std::bad_alloc&) {
        Check(true, "bad_alloc");
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
