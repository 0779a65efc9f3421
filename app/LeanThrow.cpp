// libstdc++ reports a misused container (a length past its maximum, a
// position past the end, a string made from a null pointer) through these
// functions. Its own copies throw std::length_error and its kin, which carry
// copy-on-write strings and so bring about 80 KB of string and exception
// code into a program that never catches those types by name. Here they
// throw one small exception of the same standard base with the same message,
// so every handler in the program catches and traces them as before.

#include <cstdarg>
#include <cstring>
#include <exception>
#include <new>

namespace {

constexpr size_t kMessageBytes = 192;

class ContainerMisuse : public std::exception {
public:
    explicit ContainerMisuse(const char* text, const char* more = "")
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

namespace std {

void __throw_bad_alloc()
{
    throw bad_alloc();
}

void __throw_bad_array_new_length()
{
    throw bad_array_new_length();
}

void __throw_length_error(const char* text)
{
    throw ContainerMisuse(text);
}

void __throw_logic_error(const char* text)
{
    throw ContainerMisuse(text);
}

void __throw_out_of_range(const char* text)
{
    throw ContainerMisuse(text);
}

// Each format starts with "%s", the checking function's name, which is put
// in; the numbers after it are left as their placeholders.
void __throw_out_of_range_fmt(const char* format, ...)
{
    const char kNamePlaceholder[] = "%s";
    constexpr size_t kPlaceholderChars = sizeof(kNamePlaceholder) - 1;
    if (std::strncmp(format, kNamePlaceholder, kPlaceholderChars) != 0) throw ContainerMisuse(format);
    va_list arguments;
    va_start(arguments, format);
    const char* function = va_arg(arguments, const char*);
    va_end(arguments);
    throw ContainerMisuse(function, format + kPlaceholderChars);
}

void __throw_invalid_argument(const char* text)
{
    throw ContainerMisuse(text);
}

}  // namespace std
