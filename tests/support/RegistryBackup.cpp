#include "tests/support/RegistryBackup.h"

#include "win/RegKey.h"

RegistryBackup::RegistryBackup(const wchar_t* keyPath, const wchar_t* valueName) : subKey(keyPath), name(valueName)
{
    const UniqueRegKey key = OpenUserKey(keyPath, KEY_QUERY_VALUE);
    if (!key) return;
    keyExisted = true;
    DWORD bytes = 0;
    if (::RegQueryValueExW(key.Get(), valueName, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return;
    data.resize(bytes);
    valueExisted = ::RegQueryValueExW(key.Get(), valueName, nullptr, &type, data.data(), &bytes) == ERROR_SUCCESS;
    data.resize(bytes);
}

RegistryBackup::~RegistryBackup()
{
    if (!keyExisted) {
        // RegDeleteKeyW leaves a key that still has subkeys: back up a parent before its child.
        ::RegDeleteKeyW(HKEY_CURRENT_USER, subKey);
        return;
    }
    if (valueExisted) {
        Set(type, data.data(), static_cast<DWORD>(data.size()));
    } else {
        Remove();
    }
}

void RegistryBackup::SetDword(DWORD value)
{
    Set(REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

void RegistryBackup::SetText(const std::wstring& text)
{
    const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    Set(REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), bytes);
}

void RegistryBackup::Remove()
{
    const UniqueRegKey key = OpenUserKey(subKey, KEY_SET_VALUE);
    if (key) ::RegDeleteValueW(key.Get(), name);
}

void RegistryBackup::Set(DWORD valueType, const BYTE* valueData, DWORD bytes)
{
    const UniqueRegKey key = CreateUserKey(subKey, KEY_SET_VALUE);
    if (key) ::RegSetValueExW(key.Get(), name, 0, valueType, valueData, bytes);
}
