#include "app/CAppModule.h"
#include "app/CMessageLoop.h"
#include "win/ResourceInstance.h"

#include <gtest/gtest.h>

#include <thread>

TEST(CAppModule, KeepsOneLoopPerThread)
{
    CAppModule module;
    module.Init(::GetModuleHandleW(nullptr));
    CMessageLoop mine, theirs;
    module.AttachLoop(&mine);

    DWORD otherThread = 0;
    CMessageLoop* seenByOther = &mine;
    std::thread other([&] {
        otherThread = ::GetCurrentThreadId();
        seenByOther = module.LoopForThread(otherThread);
        module.AttachLoop(&theirs);
    });
    other.join();

    EXPECT_EQ(nullptr, seenByOther) << "a thread without a loop saw one";
    EXPECT_EQ(&mine, module.LoopForThread(::GetCurrentThreadId()));
    EXPECT_EQ(&theirs, module.LoopForThread(otherThread));
    EXPECT_EQ(::GetCurrentThreadId(), module.GetMainThreadId());
}

TEST(CAppModule, DetachForgetsOnlyTheCallingThreadsLoop)
{
    CAppModule module;
    module.Init(::GetModuleHandleW(nullptr));
    CMessageLoop loop;
    module.AttachLoop(&loop);

    EXPECT_TRUE(module.DetachLoop());
    EXPECT_EQ(nullptr, module.LoopForThread(::GetCurrentThreadId()));
    EXPECT_FALSE(module.DetachLoop()) << "a second detach found a loop";
}

TEST(CAppModule, InitMakesItsInstanceTheResourceInstance)
{
    // Any module but the executable, which is also the fallback.
    HINSTANCE other = ::GetModuleHandleW(L"kernel32.dll");
    ASSERT_NE(nullptr, other);
    CAppModule module;
    module.Init(other);
    EXPECT_EQ(other, module.GetInstance());
    EXPECT_EQ(other, GetResourceInstance());
    SetResourceInstance(nullptr);
}
