#pragma once
// A buffer that a network-management call allocated, given back to the
// platform on every path; taking its address again for the next call of an
// enumeration gives back the one held.
#include <windows.h>

#include "services/platform_calls.h"

class NetBuffer {
public:
    NetBuffer() = default;
    ~NetBuffer() { Free(); }
    NetBuffer(const NetBuffer&) = delete;
    NetBuffer& operator=(const NetBuffer&) = delete;

    BYTE** operator&()
    {
        Free();
        return &buffer_;
    }
    template <typename Entry>
    const Entry* as() const { return reinterpret_cast<const Entry*>(buffer_); }

private:
    void Free()
    {
        if (buffer_)
            Platform().NetApiBufferFree(buffer_);
        buffer_ = nullptr;
    }
    BYTE* buffer_ = nullptr;
};
