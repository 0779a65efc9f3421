#pragma once

#include <windows.h>
#include <shellapi.h>

#include <map>
#include <string>
#include <vector>

// Stands in for Shell_NotifyIconW: keeps a copy of every call and answers
// with a chosen result, which may differ per message.
struct NotifyCall {
    DWORD message;
    NOTIFYICONDATAW data;
    bool windowAlive;  // whether data.hWnd still existed at the time of the call
    bool iconAlive;    // whether data.hIcon was still a live icon then
};

class NotifyRecorder {
public:
    NotifyRecorder();
    ~NotifyRecorder();

    static BOOL WINAPI Notify(DWORD message, PNOTIFYICONDATAW data);

    const std::vector<NotifyCall>& Calls() const { return calls; }
    // The NIM_ message of each call, for assertion messages.
    std::string Messages() const;
    void SetResult(BOOL answer) { result = answer; }
    void SetResultFor(DWORD message, BOOL answer) { resultFor[message] = answer; }
    void Clear() { calls.clear(); }

private:
    std::vector<NotifyCall> calls;
    BOOL result = TRUE;
    std::map<DWORD, BOOL> resultFor;
};

// The name of a NIM_ message, for assertion messages.
std::string NotifyName(DWORD message);
