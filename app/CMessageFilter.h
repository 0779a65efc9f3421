#pragma once

#include <windows.h>

// Something that may take a message out of the loop before it is translated
// and dispatched, such as an accelerator table.
class CMessageFilter {
public:
    // True when the message was consumed and must not be dispatched.
    virtual bool FilterMessage(MSG* msg) = 0;

protected:
    ~CMessageFilter() = default;
};
