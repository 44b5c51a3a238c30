#pragma once
// One setup of the product at a time: a second one, started while another
// works on the same directory, registry keys and services, changes nothing
// and ends with kExitAnotherSetupRunning.
#include <windows.h>

// Takes the product's setup lock when no other setup holds it, and holds it
// for as long as it lives.
class SetupLock {
public:
    SetupLock();
    ~SetupLock();
    SetupLock(const SetupLock&) = delete;
    SetupLock& operator=(const SetupLock&) = delete;

    // False when another setup of the product holds the lock.
    bool Held() const { return held_; }

private:
    HANDLE global_ = nullptr;
    HANDLE session_ = nullptr;
    bool held_ = false;
};
