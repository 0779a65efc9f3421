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

    const std::vector<NotifyCall>& Calls() const { return calls_; }
    void SetResult(BOOL result) { result_ = result; }
    void SetResultFor(DWORD message, BOOL result) { resultFor_[message] = result; }
    void Clear() { calls_.clear(); }

private:
    std::vector<NotifyCall> calls_;
    BOOL result_ = TRUE;
    std::map<DWORD, BOOL> resultFor_;
};

// The name of a NIM_ message, for assertion messages.
std::string NotifyName(DWORD message);
