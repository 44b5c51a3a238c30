#pragma once
// For tests that run setup's code in the test program: a fresh run's state,
// and message boxes answered as they open.
#include <windows.h>

#include <string>
#include <vector>

namespace support {

// Resets SetupState to what start-up gives a run with `commandLine`, with the
// program's resources taken from the test program itself.
void ResetSetupState(const wchar_t* commandLine = L"setup.exe");

// Answers every message box this thread opens with the next of `answers`
// (the last one again when they run out), and records what each box said.
class MessageBoxAnswerer {
public:
    struct Box {
        std::wstring caption;
        std::wstring text;
        std::wstring buttons;  // the labels of OK, Cancel, Yes, No, Retry, each followed by "|"
    };

    explicit MessageBoxAnswerer(std::vector<int> answers);
    ~MessageBoxAnswerer();
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    const std::vector<Box>& Boxes() const { return boxes_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);

    std::vector<int> answers_;
    std::vector<Box> boxes_;
    HHOOK hook_;
};

// A bank string of the program (absolute ID).
std::wstring BankString(UINT id);

}  // namespace support
