#pragma once

#include <windows.h>

#include <utility>

// One move-only owner for every kind of handle; a Traits type names the
// invalid value and the call that releases it. Never copyable, so a handle
// can never be closed twice.
template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle adopted) : handle(adopted) {}
    ~UniqueHandle() { Reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    UniqueHandle(UniqueHandle&& other) noexcept : handle(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    Handle Get() const { return handle; }
    bool IsValid() const { return Traits::IsValid(handle); }
    explicit operator bool() const { return IsValid(); }

    Handle Release() { return std::exchange(handle, Traits::Invalid()); }

    void Reset(Handle replacement = Traits::Invalid())
    {
        // Handing back the handle already held must not close it.
        if (replacement == handle) return;
        if (IsValid()) Traits::Close(handle);
        handle = replacement;
    }

private:
    Handle handle = Traits::Invalid();
};

// Most handle kinds have null as their one invalid value.
template <typename H>
struct NullInvalidTraits {
    using Handle = H;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
};

struct IconTraits : NullInvalidTraits<HICON> {
    static void Close(Handle h) { ::DestroyIcon(h); }
};

struct MenuTraits : NullInvalidTraits<HMENU> {
    static void Close(Handle h) { ::DestroyMenu(h); }
};

struct FontTraits : NullInvalidTraits<HFONT> {
    static void Close(Handle h) { ::DeleteObject(h); }
};

struct RegKeyTraits : NullInvalidTraits<HKEY> {
    static void Close(Handle h) { ::RegCloseKey(h); }
};

struct WindowTraits : NullInvalidTraits<HWND> {
    static void Close(Handle h) { ::DestroyWindow(h); }
};

struct HookTraits : NullInvalidTraits<HHOOK> {
    static void Close(Handle h) { ::UnhookWindowsHookEx(h); }
};

struct FindTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Handle h) { return h != INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::FindClose(h); }
};

// Kernel calls disagree on how they fail: CreateFileW answers
// INVALID_HANDLE_VALUE, CreateThread and CreateEventW answer null. Neither
// may ever reach CloseHandle.
struct KernelTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::CloseHandle(h); }
};

// A mapped view of a file.
struct ViewTraits : NullInvalidTraits<const void*> {
    static void Close(Handle h) { ::UnmapViewOfFile(h); }
};

using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueMenu = UniqueHandle<MenuTraits>;
using UniqueFont = UniqueHandle<FontTraits>;
using UniqueFind = UniqueHandle<FindTraits>;
using UniqueKernelHandle = UniqueHandle<KernelTraits>;
// A file handle is a kernel handle; the name says what the code holds.
using UniqueFile = UniqueKernelHandle;
using UniqueRegKey = UniqueHandle<RegKeyTraits>;
using UniqueWindow = UniqueHandle<WindowTraits>;
using UniqueView = UniqueHandle<ViewTraits>;
using UniqueHook = UniqueHandle<HookTraits>;
