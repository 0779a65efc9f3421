#include "win/ResourceInstance.h"

namespace {
HINSTANCE g_resourceInstance = nullptr;
}  // namespace

HINSTANCE GetResourceInstance()
{
    return g_resourceInstance ? g_resourceInstance : ::GetModuleHandleW(nullptr);
}

void SetResourceInstance(HINSTANCE instance)
{
    g_resourceInstance = instance;
}

std::wstring LoadResString(UINT id)
{
    // A zero buffer size asks for a read-only pointer into the resource itself.
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(GetResourceInstance(), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr) return std::wstring();
    return std::wstring(text, static_cast<size_t>(length));
}
