#pragma once
// One of the product's services opened by its name, and what an opened
// service's configuration says.
#include <iterator>
#include <vector>

#include "services/service_table.h"
#include "shell/handles.h"
#include "shell/platform_calls.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

// One of the product's services, by the bank ID of its name, opened with
// all access through a Service Control Manager opened the same way; both
// closed with their owner.
class OpenedService {
public:
    explicit OpenedService(UINT nameId)
        : manager_(Platform().OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS)), service_(Open(nameId))
    {
    }

    SC_HANDLE get() const { return service_.get(); }
    explicit operator bool() const { return static_cast<bool>(service_); }
    // The manager answered that no service has the name.
    bool Absent() const { return manager_ && !service_ && error_ == ERROR_SERVICE_DOES_NOT_EXIST; }

private:
    SC_HANDLE Open(UINT nameId)
    {
        if (!manager_)
            return nullptr;
        wchar_t name[kServiceNameChars + 1];
        LoadBankString(LangBase + nameId, name, std::size(name));
        SC_HANDLE service = Platform().OpenServiceW(manager_.get(), name, SERVICE_ALL_ACCESS);
        error_ = service ? ERROR_SUCCESS : GetLastError();
        return service;
    }

    ServiceHandle manager_;
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
