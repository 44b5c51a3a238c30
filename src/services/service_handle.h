#pragma once
// The Service Control Manager for one walk over the product's services,
// one of the services opened by its name, and what an opened service's
// configuration says.
#include <iterator>
#include <vector>

#include "services/service_table.h"
#include "shell/handles.h"
#include "shell/message_loop.h"
#include "shell/platform_calls.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

// The Service Control Manager as one walk over the product's services
// uses it: opened once, when the walk reaches its first service, and closed
// with the walk. Messages are handled between two services, so the windows
// answer throughout the walk.
class ServiceWalk {
public:
    explicit ServiceWalk(DWORD access) : access_(access) {}

    // The manager, for the walk's next service; null, with the last error
    // set, when it cannot be opened.
    SC_HANDLE Next()
    {
        if (opened_) {
            PumpMessages();
        } else {
            opened_ = true;
            manager_.reset(Platform().OpenSCManagerW(nullptr, nullptr, access_));
            error_ = manager_ ? ERROR_SUCCESS : GetLastError();
        }
        if (!manager_)
            SetLastError(error_);
        return manager_.get();
    }

private:
    DWORD access_;
    bool opened_ = false;
    DWORD error_ = ERROR_SUCCESS;
    ServiceHandle manager_;
};

// One of the product's services, by the bank ID of its name, opened with
// all access through `manager` (which may be null: nothing is opened then)
// and closed with its owner.
class OpenedService {
public:
    OpenedService(SC_HANDLE manager, UINT nameId) : service_(Open(manager, nameId)) {}

    SC_HANDLE get() const { return service_.get(); }
    explicit operator bool() const { return static_cast<bool>(service_); }
    // The manager answered that no service has the name.
    bool Absent() const { return !service_ && error_ == ERROR_SERVICE_DOES_NOT_EXIST; }

private:
    SC_HANDLE Open(SC_HANDLE manager, UINT nameId)
    {
        if (!manager) {
            error_ = ERROR_INVALID_HANDLE;
            return nullptr;
        }
        wchar_t name[kServiceNameChars + 1];
        LoadBankString(LangBase + nameId, name, std::size(name));
        SC_HANDLE service = Platform().OpenServiceW(manager, name, SERVICE_ALL_ACCESS);
        error_ = service ? ERROR_SUCCESS : GetLastError();
        return service;
    }

    DWORD error_ = ERROR_SUCCESS;
    ServiceHandle service_;
};

// The configuration of an opened service, read through the platform-call
// table into a buffer of its own; empty when it cannot be read.
class ServiceConfig {
public:
    explicit ServiceConfig(SC_HANDLE service)
    {
        DWORD needed = 0;
        Platform().QueryServiceConfigW(service, nullptr, 0, &needed);
        if (needed < sizeof(QUERY_SERVICE_CONFIGW))
            return;
        buffer_.resize(needed);
        auto config = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer_.data());
        if (!Platform().QueryServiceConfigW(service, config, needed, &needed))
            buffer_.clear();
    }

    explicit operator bool() const { return !buffer_.empty(); }
    const QUERY_SERVICE_CONFIGW* operator->() const
    {
        return reinterpret_cast<const QUERY_SERVICE_CONFIGW*>(buffer_.data());
    }

private:
    std::vector<BYTE> buffer_;
};
