#pragma once

#include <windows.h>

#include <map>

class CMessageLoop;

// The process's one module object: the instance every resource comes from,
// the main thread, and the message loop of each thread that runs one.
class CAppModule {
public:
    CAppModule();
    ~CAppModule();

    CAppModule(const CAppModule&) = delete;
    CAppModule& operator=(const CAppModule&) = delete;

    bool Init(HINSTANCE instance);
    void Term();

    HINSTANCE GetInstance() const { return instance; }
    DWORD GetMainThreadId() const { return mainThreadId; }

    // The calling thread's loop; a second attach replaces the first.
    void AttachLoop(CMessageLoop* loop);
    bool DetachLoop();
    CMessageLoop* LoopForThread(DWORD threadId) const;

private:
    HINSTANCE instance = nullptr;
    DWORD mainThreadId = 0;
    mutable CRITICAL_SECTION lock;
    std::map<DWORD, CMessageLoop*> loops;
};

// Lives from before the process entry runs until after it returns.
extern CAppModule g_appModule;
