#pragma once
// The owners of what setup borrows from the system: files, searches,
// registry keys, tokens, LSA, service-manager, event-source and enumeration
// handles, and buffers of the network-management calls. Each gives its
// handle back on every path out of the scope that holds it. The LSA,
// service, event-log, enumeration and network calls go through the
// platform-call table, and so do their closes.
#include <windows.h>

#include "shell/platform_calls.h"

// `Traits` names the handle type, its empty value and how it is given back.
template <typename Traits>
class Owned {
public:
    using Handle = typename Traits::Handle;

    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    ~Owned() { Close(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::Empty(); }
    // For a call that fills in a handle: the one held first is given back.
    Handle* receive()
    {
        Close();
        return &handle_;
    }
    void reset(Handle handle)
    {
        Close();
        handle_ = handle;
    }
    // Hands the handle over to an owner that gives it back itself.
    Handle release()
    {
        Handle handle = handle_;
        handle_ = Traits::Empty();
        return handle;
    }
    void Close()
    {
        if (*this)
            Traits::Close(release());
    }

private:
    Handle handle_ = Traits::Empty();
};

struct FileTraits {
    using Handle = HANDLE;
    static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};
struct FindTraits {
    using Handle = HANDLE;
    static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) { FindClose(handle); }
};
// A kernel object whose empty value is null, given back with CloseHandle.
struct KernelObjectTraits {
    using Handle = HANDLE;
    static HANDLE Empty() { return nullptr; }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};
struct KeyTraits {
    using Handle = HKEY;
    static HKEY Empty() { return nullptr; }
    static void Close(HKEY key) { RegCloseKey(key); }
};
struct LsaTraits {
    using Handle = LSA_HANDLE;
    static LSA_HANDLE Empty() { return nullptr; }
    static void Close(LSA_HANDLE handle) { Platform().LsaClose(handle); }
};
struct ServiceTraits {
    using Handle = SC_HANDLE;
    static SC_HANDLE Empty() { return nullptr; }
    static void Close(SC_HANDLE handle) { Platform().CloseServiceHandle(handle); }
};
struct EventSourceTraits {
    using Handle = HANDLE;
    static HANDLE Empty() { return nullptr; }
    static void Close(HANDLE handle) { Platform().DeregisterEventSource(handle); }
};
struct NetEnumTraits {
    using Handle = HANDLE;
    static HANDLE Empty() { return nullptr; }
    static void Close(HANDLE handle) { Platform().WNetCloseEnum(handle); }
};
struct NetBufferTraits {
    using Handle = BYTE*;
    static BYTE* Empty() { return nullptr; }
    static void Close(BYTE* buffer) { Platform().NetApiBufferFree(buffer); }
};

// A file opened with CreateFileW.
using FileHandle = Owned<FileTraits>;
// A search of FindFirstFileW.
using FindHandle = Owned<FindTraits>;
// An access token.
using TokenHandle = Owned<KernelObjectTraits>;
// A thread or process that setup waits for.
using WaitableHandle = Owned<KernelObjectTraits>;
// An LSA policy or account object.
using LsaHandle = Owned<LsaTraits>;
// A Service Control Manager or a service.
using ServiceHandle = Owned<ServiceTraits>;
// A network enumeration of WNetOpenEnumW.
using NetEnumeration = Owned<NetEnumTraits>;
// An event source of RegisterEventSourceW.
using EventSource = Owned<EventSourceTraits>;

// A buffer that a network-management call allocated; receive() for the
// next call of an enumeration gives back the one held.
class NetBuffer : public Owned<NetBufferTraits> {
public:
    template <typename Entry>
    const Entry* as() const { return reinterpret_cast<const Entry*>(get()); }
};

// A registry key.
class RegistryKey : public Owned<KeyTraits> {
public:
    // Creates or opens `path` below `root` as setup opens every key of its
    // own, giving back the key held before. The registry's error code.
    LONG Create(HKEY root, const wchar_t* path)
    {
        HKEY key = nullptr;
        LONG error = RegCreateKeyExW(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, MAXIMUM_ALLOWED, nullptr, &key,
                                     nullptr);
        reset(error == ERROR_SUCCESS ? key : nullptr);
        return error;
    }
    // Opens `path` below `root` with `access`. The registry's error code.
    LONG Open(HKEY root, const wchar_t* path, REGSAM access)
    {
        HKEY key = nullptr;
        LONG error = RegOpenKeyExW(root, path, 0, access, &key);
        reset(error == ERROR_SUCCESS ? key : nullptr);
        return error;
    }
    // Closes the key now: the close's own error code, which some callers
    // report.
    LONG CloseReporting() { return *this ? RegCloseKey(release()) : ERROR_SUCCESS; }
};
