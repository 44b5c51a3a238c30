// Sees a program start a DDE conversation: a hidden top-level window of
// this process, on a thread of its own that always takes its messages,
// notes every WM_DDE_INITIATE it is sent. Programs that offer the initiate
// to each top-level window (setup among them) reach it; it never answers.
#pragma once

#include <windows.h>

#include <mutex>
#include <thread>
#include <vector>

class InitiateWatch {
public:
    InitiateWatch() = default;
    InitiateWatch(const InitiateWatch&) = delete;
    InitiateWatch& operator=(const InitiateWatch&) = delete;
    ~InitiateWatch();

    // Opens the window; false when it cannot be made.
    bool Open();
    // True once a window of the process `processId` has sent an initiate.
    bool SeenFrom(DWORD processId);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Run(HANDLE opened);
    void Note(HWND client);

    std::thread thread_;
    HWND window_ = nullptr;
    std::mutex mutex_;
    std::vector<DWORD> senders_;  // process ids, in the order they first initiated
};
