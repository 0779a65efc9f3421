#include "tests/app/NotifyRecorder.h"

namespace {
NotifyRecorder* g_current = nullptr;

bool IsLiveIcon(HICON icon)
{
    ICONINFO info = {};
    if (icon == nullptr || !::GetIconInfo(icon, &info)) return false;
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    return true;
}
}  // namespace

NotifyRecorder::NotifyRecorder()
{
    g_current = this;
}

NotifyRecorder::~NotifyRecorder()
{
    g_current = nullptr;
}

BOOL WINAPI NotifyRecorder::Notify(DWORD message, PNOTIFYICONDATAW data)
{
    // A call after the recorder is gone would be a call into the real shell.
    if (g_current == nullptr) return FALSE;
    g_current->calls.push_back(NotifyCall{message, *data, ::IsWindow(data->hWnd) != FALSE, IsLiveIcon(data->hIcon)});
    const auto chosen = g_current->resultFor.find(message);
    return chosen != g_current->resultFor.end() ? chosen->second : g_current->result;
}

std::string NotifyRecorder::Messages() const
{
    std::string names;
    for (const NotifyCall& call : calls) names += NotifyName(call.message) + " ";
    return names;
}

std::string NotifyName(DWORD message)
{
    switch (message) {
    case NIM_ADD:
        return "NIM_ADD";
    case NIM_MODIFY:
        return "NIM_MODIFY";
    case NIM_DELETE:
        return "NIM_DELETE";
    default:
        return "NIM_" + std::to_string(message);
    }
}
