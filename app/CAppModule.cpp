#include "app/CAppModule.h"

#include "win/ResourceInstance.h"

CAppModule g_appModule;

namespace {
class SectionLock {
public:
    explicit SectionLock(CRITICAL_SECTION& section) : section_(section) { ::EnterCriticalSection(&section_); }
    ~SectionLock() { ::LeaveCriticalSection(&section_); }
    SectionLock(const SectionLock&) = delete;
    SectionLock& operator=(const SectionLock&) = delete;

private:
    CRITICAL_SECTION& section_;
};
}  // namespace

CAppModule::CAppModule()
{
    ::InitializeCriticalSection(&lock_);
}

CAppModule::~CAppModule()
{
    ::DeleteCriticalSection(&lock_);
}

bool CAppModule::Init(HINSTANCE instance)
{
    instance_ = instance;
    mainThreadId_ = ::GetCurrentThreadId();
    SetResourceInstance(instance);
    SectionLock lock(lock_);
    loops_.clear();
    return true;
}

void CAppModule::Term()
{
    SectionLock lock(lock_);
    loops_.clear();
}

void CAppModule::AttachLoop(CMessageLoop* loop)
{
    SectionLock lock(lock_);
    loops_[::GetCurrentThreadId()] = loop;
}

bool CAppModule::DetachLoop()
{
    SectionLock lock(lock_);
    return loops_.erase(::GetCurrentThreadId()) != 0;
}

CMessageLoop* CAppModule::LoopForThread(DWORD threadId) const
{
    SectionLock lock(lock_);
    auto found = loops_.find(threadId);
    return found == loops_.end() ? nullptr : found->second;
}
