// The program's handlers must see a failed library check as a standard
// exception whose text names the check, and the checks without a message as
// their own standard types, with the program's lean replacements linked in
// instead of libstdc++'s own. GoogleTest needs those, so this checks without it.
// Calling all of them also makes the link fail if one is left out.

#include <bits/functexcept.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <typeinfo>
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
        const std::type_info* standard = nullptr;
    } cases[] = {
        {"substr", [] { (void)std::wstring(L"ab").substr(3); }},
        {"_M_range_check", [] { (void)std::vector<int>().at(0); }},
        {"construction from null", [] { std::string text(static_cast<const char*>(nullptr)); }},
        {"_M_create", [] { std::wstring().reserve(std::wstring().max_size() + 1); }},
        {"logic", [] { std::__throw_logic_error("logic"); }},
        {"domain", [] { std::__throw_domain_error("domain"); }},
        {"argument", [] { std::__throw_invalid_argument("argument"); }},
        {"length", [] { std::__throw_length_error("length"); }},
        {"range", [] { std::__throw_out_of_range("range"); }},
        {"no name", [] { std::__throw_out_of_range_fmt("no name"); }},
        {"runtime", [] { std::__throw_runtime_error("runtime"); }},
        {"values", [] { std::__throw_range_error("values"); }},
        {"overflow", [] { std::__throw_overflow_error("overflow"); }},
        {"underflow", [] { std::__throw_underflow_error("underflow"); }},
        {"bad_alloc", [] { std::vector<char>().reserve(std::vector<char>().max_size()); }, &typeid(std::bad_alloc)},
        {"bad_alloc", std::__throw_bad_alloc, &typeid(std::bad_alloc)},
        {"bad_array_new_length", std::__throw_bad_array_new_length, &typeid(std::bad_array_new_length)},
        {"bad_cast", std::__throw_bad_cast, &typeid(std::bad_cast)},
        {"bad_typeid", std::__throw_bad_typeid, &typeid(std::bad_typeid)},
        {"bad_exception", std::__throw_bad_exception, &typeid(std::bad_exception)},
    };
    for (const auto& c : cases) {
        try {
            c.misuse();
            Check(false, c.check);
        } catch (const std::exception& e) {
            // libstdc++'s own logic_error family is what the program leaves out.
            const bool lean = std::strstr(e.what(), c.check) && !dynamic_cast<const std::logic_error*>(&e);
            Check(c.standard ? typeid(e) == *c.standard : lean, c.check);
        }
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
