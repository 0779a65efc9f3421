#include "win/RegKey.h"

UniqueRegKey OpenUserKey(const wchar_t* subKey, REGSAM access)
{
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, subKey, 0, access, &opened) != ERROR_SUCCESS) return UniqueRegKey();
    return UniqueRegKey(opened);
}

UniqueRegKey CreateUserKey(const wchar_t* subKey, REGSAM access)
{
    HKEY created = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, subKey, 0, nullptr, 0, access, nullptr, &created, nullptr) !=
        ERROR_SUCCESS) {
        return UniqueRegKey();
    }
    return UniqueRegKey(created);
}
