#pragma once

#include <windows.h>

#include <string>
#include <vector>

// One HKCU value as a test found it: its type and bytes, or its absence, and
// whether its key existed. The destructor puts back exactly that, so a test
// may change or remove the value freely.
class RegistryBackup {
public:
    RegistryBackup(const wchar_t* subKey, const wchar_t* name);
    ~RegistryBackup();
    RegistryBackup(const RegistryBackup&) = delete;
    RegistryBackup& operator=(const RegistryBackup&) = delete;

    void SetDword(DWORD value);
    void SetText(const std::wstring& text);
    void Remove();

private:
    void Set(DWORD type, const BYTE* data, DWORD bytes);

    const wchar_t* subKey;
    const wchar_t* name;
    bool keyExisted = false;
    bool valueExisted = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};
