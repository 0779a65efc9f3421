#include "win/CWindowImpl.h"
#include "win/UniqueHandle.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

bool IsOpenHandle(HANDLE handle)
{
    DWORD flags = 0;
    return ::GetHandleInformation(handle, &flags) != FALSE;
}

TEST(UniqueHandle, KernelHandlesRejectBothFailureValuesAndSurviveASelfReset)
{
    const UniqueFile missing(
        ::CreateFileW(L"C:\\no such folder\\no such file", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(missing) << "CreateFileW's failure value was taken for a handle";
    EXPECT_FALSE(UniqueKernelHandle(nullptr)) << "null was taken for a handle";

    UniqueKernelHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event);
    event.Reset(event.Get());
    ASSERT_TRUE(event);
    EXPECT_TRUE(IsOpenHandle(event.Get())) << "handing back its own handle closed it";
}

// Catches what OutputDebugStringW sends while no debugger is attached, the
// way a debug-output viewer does.
class DebugOutputCatcher {
public:
    DebugOutputCatcher()
        : mutex(::CreateMutexW(nullptr, FALSE, L"DBWinMutex")),
          buffer(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBufferBytes, L"DBWIN_BUFFER")),
          bufferReady(::CreateEventW(nullptr, FALSE, TRUE, L"DBWIN_BUFFER_READY")),
          dataReady(::CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_DATA_READY"))
    {}

    bool Ready() const { return mutex && buffer && bufferReady && dataReady; }

    // The last text written, or empty when nothing came.
    std::string Take() const
    {
        if (::WaitForSingleObject(dataReady.Get(), 0) != WAIT_OBJECT_0) return {};
        const void* view = ::MapViewOfFile(buffer.Get(), FILE_MAP_READ, 0, 0, kBufferBytes);
        if (view == nullptr) return {};
        // The buffer starts with the writer's process id.
        const std::string text(static_cast<const char*>(view) + sizeof(DWORD));
        ::UnmapViewOfFile(view);
        return text;
    }

private:
    static constexpr DWORD kBufferBytes = 4096;
    UniqueKernelHandle mutex;
    UniqueKernelHandle buffer;
    UniqueKernelHandle bufferReady;
    UniqueKernelHandle dataReady;
};

constexpr UINT kThrowMessage = WM_SETTEXT;
constexpr wchar_t kThrowingClass[] = L"LumivaneThrowingWindow";

class ThrowingWindow : public CWindowImpl {
public:
    HWND Create()
    {
        WNDCLASSEXW wc = {};
        wc.lpszClassName = kThrowingClass;
        RegisterWindowClass(wc);
        return CreateFromClass(kThrowingClass, nullptr, L"", WS_POPUP, 0);
    }
    ~ThrowingWindow() override
    {
        if (GetHandle()) ::DestroyWindow(GetHandle());
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == kThrowMessage) throw std::runtime_error("picture list gone");
        return CWindowImpl::HandleMessage(msg, wParam, lParam);
    }
};

TEST(WindowProcedure, AnExceptionStopsThereAndLeavesATraceNamingItAndTheWindow)
{
    DebugOutputCatcher debugOutput;
    ASSERT_TRUE(debugOutput.Ready());
    ThrowingWindow window;
    ASSERT_NE(nullptr, window.Create());

    ::SendMessageW(window.GetHandle(), kThrowMessage, 0, reinterpret_cast<LPARAM>(L"kept"));

    EXPECT_EQ(L"kept", window.GetText()) << "the window lost its default processing, or did not survive";
    const std::string trace = debugOutput.Take();
    EXPECT_NE(std::string::npos, trace.find("picture list gone")) << trace;
    EXPECT_NE(std::string::npos, trace.find("LumivaneThrowingWindow")) << trace;
    EXPECT_NE(std::string::npos, trace.find("message 0x0000000C")) << trace;
}

}  // namespace
