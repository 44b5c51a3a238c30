#pragma once
// A Program Manager of the tests' own: a DDE server on a thread of its own
// that answers the initiate for one application name and records every
// command and terminate it is sent.
#include <windows.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

class TestProgman {
public:
    enum class Answer { kPositive, kNegative, kNever };

    TestProgman(std::wstring application, Answer answer = Answer::kPositive);
    ~TestProgman();
    TestProgman(const TestProgman&) = delete;
    TestProgman& operator=(const TestProgman&) = delete;

    HWND Window() const { return window_; }

    // The bytes of each command block as sent, terminator included; a
    // command read as UTF-16 or as 8-bit text.
    std::vector<std::string> Blocks();
    std::vector<std::wstring> WideCommands();
    std::vector<std::string> NarrowCommands();
    int TerminatesReceived();
    // Waits up to `milliseconds`, the caller's windows alive, until `count`
    // terminates have arrived; the number that did.
    int WaitForTerminates(int count, DWORD milliseconds);

    // The server ends the conversation with the client it answered, or
    // destroys its window, on its own thread; both return once done.
    void Terminate();
    void Vanish();

private:
    static LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnInitiate(HWND client, LPARAM lParam);
    void OnExecute(HWND client, LPARAM lParam);
    void OnTerminate(HWND client);
    void Run(HANDLE ready);
    void RunOnThread(UINT message);

    std::wstring application_;
    Answer answer_;
    std::thread thread_;
    DWORD threadId_ = 0;
    HWND window_ = nullptr;
    HWND client_ = nullptr;
    bool terminating_ = false;
    std::mutex mutex_;
    std::vector<std::string> blocks_;
    int terminates_ = 0;
};
