#include "app/CAppModule.h"

#include "win/ResourceInstance.h"

CAppModule g_appModule;

namespace {
class SectionLock {
public:
    explicit SectionLock(CRITICAL_SECTION& criticalSection) : section(criticalSection)
    {
        ::EnterCriticalSection(&section);
    }
    ~SectionLock() { ::LeaveCriticalSection(&section); }
    SectionLock(const SectionLock&) = delete;
    SectionLock& operator=(const SectionLock&) = delete;

private:
    CRITICAL_SECTION& section;
};
}  // namespace

CAppModule::CAppModule()
{
    ::InitializeCriticalSection(&lock);
}

CAppModule::~CAppModule()
{
    ::DeleteCriticalSection(&lock);
}

bool CAppModule::Init(HINSTANCE moduleInstance)
{
    instance = moduleInstance;
    mainThreadId = ::GetCurrentThreadId();
    SetResourceInstance(moduleInstance);
    SectionLock guard(lock);
    loops.clear();
    return true;
}

void CAppModule::Term()
{
    SectionLock guard(lock);
    loops.clear();
}

void CAppModule::AttachLoop(CMessageLoop* loop)
{
    SectionLock guard(lock);
    loops[::GetCurrentThreadId()] = loop;
}

bool CAppModule::DetachLoop()
{
    SectionLock guard(lock);
    return loops.erase(::GetCurrentThreadId()) != 0;
}

CMessageLoop* CAppModule::LoopForThread(DWORD threadId) const
{
    SectionLock guard(lock);
    auto found = loops.find(threadId);
    return found == loops.end() ? nullptr : found->second;
}
