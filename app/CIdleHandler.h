#pragma once

// Work done once the GUI thread's queue has run dry after a real message.
class CIdleHandler {
public:
    // The result is ignored: one round of idle work is all the loop runs.
    virtual bool OnIdleTime() = 0;

protected:
    ~CIdleHandler() = default;
};
