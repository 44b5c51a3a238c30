#pragma once
// A Program Manager of the tests' own: a DDE server window of this thread that
// answers the initiate for one application name and records what it is sent.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace support {

struct TestProgman {
    enum class Answer { kPositive, kNegative, kNever, kGone };  // kGone: the window goes instead

    // Each acknowledgement is posted by a timer `ackDelayMs` after its
    // command: a client of this thread gets it only while it dispatches.
    explicit TestProgman(std::wstring application, Answer answer = Answer::kPositive, UINT ackDelayMs = 0);
    ~TestProgman() { DestroyWindow(window); }
    std::vector<std::wstring> WideCommands() const;

    const std::wstring application;
    const Answer answer;
    const UINT ackDelayMs;
    HWND window = nullptr;
    HWND client = nullptr;
    HWND clientParent = nullptr;      // the client's parent as it initiated
    UINT_PTR lastBlock = 0;           // the memory block of the last command
    std::vector<std::string> blocks;  // each command's bytes, terminator included
};

// Dispatches this thread's messages until `condition` holds or the time is up.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs);

}  // namespace support
