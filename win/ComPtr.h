#pragma once

#include <unknwn.h>

#include <utility>

// Move-only owner of one COM interface reference.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    explicit ComPtr(T* adopted) : ptr(adopted) {}
    ~ComPtr() { Reset(); }

    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    ComPtr(ComPtr&& other) noexcept : ptr(std::exchange(other.ptr, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept
    {
        if (this != &other) {
            Reset();
            ptr = std::exchange(other.ptr, nullptr);
        }
        return *this;
    }

    T* Get() const { return ptr; }
    T* operator->() const { return ptr; }
    explicit operator bool() const { return ptr != nullptr; }

    // For creation calls that fill an out-parameter; drops what was held.
    T** Put()
    {
        Reset();
        return &ptr;
    }

    void Reset()
    {
        if (ptr) std::exchange(ptr, nullptr)->Release();
    }

private:
    T* ptr = nullptr;
};
