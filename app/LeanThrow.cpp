// libstdc++ reports a misused container or a failed library check through
// the fifteen functions of its object functexcept.o. Its copies of the ten
// that carry a message throw std::length_error and its kin, whose
// copy-on-write message strings bring about 85 KB of string code into the
// program: a derived type costs the same, since any constructor or destructor
// of those types links that code, and the exception tables of a linked object
// keep all of its functions. Here those ten throw one small exception derived
// from std::exception with the same message, so every handler in the program,
// all of which catch std::exception, catches and traces them as before; the
// five without a message throw the standard types, which cost nothing.
//
// The whole set is replaced: one left out would pull in libstdc++'s object on
// its first use, and the link would fail on two definitions of the others.
// Each is defined by its qualified name, so a declaration changed in
// <bits/functexcept.h> no longer compiles. The check of the built program
// compares the set with libstdc++'s and fails once the program links a type
// of the logic_error family, whose handlers would miss these.

#include <bits/functexcept.h>

#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>
#include <typeinfo>

namespace {

constexpr size_t kMessageBytes = 192;

class LibraryError : public std::exception {
public:
    explicit LibraryError(const char* text, const char* more = "")
    {
        Append(text);
        Append(more);
    }
    const char* what() const noexcept override { return message; }

private:
    void Append(const char* text)
    {
        const size_t used = std::strlen(message);
        std::strncat(message, text, kMessageBytes - 1 - used);
    }

    char message[kMessageBytes] = {};
};

}  // namespace

void std::__throw_bad_exception()
{
    throw std::bad_exception();
}

void std::__throw_bad_alloc()
{
    throw std::bad_alloc();
}

void std::__throw_bad_array_new_length()
{
    throw std::bad_array_new_length();
}

void std::__throw_bad_cast()
{
    throw std::bad_cast();
}

void std::__throw_bad_typeid()
{
    throw std::bad_typeid();
}

void std::__throw_logic_error(const char* text)
{
    throw LibraryError(text);
}

void std::__throw_domain_error(const char* text)
{
    throw LibraryError(text);
}

void std::__throw_invalid_argument(const char* text)
{
    throw LibraryError(text);
}

void std::__throw_length_error(const char* text)
{
    throw LibraryError(text);
}

void std::__throw_out_of_range(const char* text)
{
    throw LibraryError(text);
}

// Each format starts with "%s", the checking function's name, which is put
// in; the numbers after it are left as their placeholders.
void std::__throw_out_of_range_fmt(const char* format, ...)
{
    const char kNamePlaceholder[] = "%s";
    constexpr size_t kPlaceholderChars = sizeof(kNamePlaceholder) - 1;
    if (std::strncmp(format, kNamePlaceholder, kPlaceholderChars) != 0) throw LibraryError(format);
    va_list arguments;
    va_start(arguments, format);
    const char* function = va_arg(arguments, const char*);
    va_end(arguments);
    throw LibraryError(function, format + kPlaceholderChars);
}

void std::__throw_runtime_error(const char* text)
{
    throw LibraryError(text);
}

void std::__throw_range_error(const char* text)
{
    throw LibraryError(text);
}

void std::__throw_overflow_error(const char* text)
{
    throw LibraryError(text);
}

void std::__throw_underflow_error(const char* text)
{
    throw LibraryError(text);
}

// libstdc++'s default terminate handler prints the demangled type of the
// escaping exception to a console this program does not have, then aborts;
// it drags in the whole demangler. This one ends the process the same way.
void __gnu_cxx::__verbose_terminate_handler()
{
    std::abort();
}
