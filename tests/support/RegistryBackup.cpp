#include "tests/support/RegistryBackup.h"

#include "win/RegKey.h"

RegistryBackup::RegistryBackup(const wchar_t* subKey, const wchar_t* name) : subKey_(subKey), name_(name)
{
    const UniqueRegKey key = OpenUserKey(subKey, KEY_QUERY_VALUE);
    if (!key) return;
    keyExisted_ = true;
    DWORD bytes = 0;
    if (::RegQueryValueExW(key.Get(), name, nullptr, &type_, nullptr, &bytes) != ERROR_SUCCESS) return;
    data_.resize(bytes);
    valueExisted_ = ::RegQueryValueExW(key.Get(), name, nullptr, &type_, data_.data(), &bytes) == ERROR_SUCCESS;
    data_.resize(bytes);
}

RegistryBackup::~RegistryBackup()
{
    if (!keyExisted_) {
        // RegDeleteKeyW leaves a key that still has subkeys: back up a parent before its child.
        ::RegDeleteKeyW(HKEY_CURRENT_USER, subKey_);
        return;
    }
    if (valueExisted_) {
        Set(type_, data_.data(), static_cast<DWORD>(data_.size()));
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
    const UniqueRegKey key = OpenUserKey(subKey_, KEY_SET_VALUE);
    if (key) ::RegDeleteValueW(key.Get(), name_);
}

void RegistryBackup::Set(DWORD type, const BYTE* data, DWORD bytes)
{
    const UniqueRegKey key = CreateUserKey(subKey_, KEY_SET_VALUE);
    if (key) ::RegSetValueExW(key.Get(), name_, 0, type, data, bytes);
}
