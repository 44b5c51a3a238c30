#pragma once
// An access token of the process, closed when its owner goes.
#include <windows.h>

class TokenHandle {
public:
    TokenHandle() = default;
    ~TokenHandle()
    {
        if (handle_)
            CloseHandle(handle_);
    }
    TokenHandle(const TokenHandle&) = delete;
    TokenHandle& operator=(const TokenHandle&) = delete;
    HANDLE* receive() { return &handle_; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_ = nullptr;
};
