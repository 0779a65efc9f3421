#pragma once

#include <gtest/gtest.h>

#include <windows.h>

// Fails a test whose modal dialog, message box or menu is still open some
// seconds after the test began, and ends it, so that the next test runs: a
// modal loop that no longer ends would otherwise hold the whole run until
// ctest's time limit. The tests' main installs it around every test, so a
// test that opens something modal needs nothing of its own.
class ModalWatchdog : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo& test) override;
    void OnTestEnd(const ::testing::TestInfo& test) override;

private:
    UINT_PTR timer = 0;
};
