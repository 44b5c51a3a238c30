#include "services/start_call.h"

#include "shell/handles.h"
#include "shell/message_loop.h"
#include "shell/platform_calls.h"

namespace {

struct StartRequest {
    SC_HANDLE service;
    BOOL started;
    DWORD error;
};

DWORD WINAPI RunStart(void* argument)
{
    auto request = static_cast<StartRequest*>(argument);
    request->started = Platform().StartServiceW(request->service, 0, nullptr);
    request->error = GetLastError();
    return 0;
}

}  // namespace

BOOL StartServiceAnswering(SC_HANDLE service)
{
    StartRequest request = {service, FALSE, ERROR_SUCCESS};
    WaitableHandle thread(CreateThread(nullptr, 0, RunStart, &request, 0, nullptr));
    // Without a thread of its own the start still happens, on this one.
    if (!thread)
        RunStart(&request);
    else if (!WaitPumpingFor(thread.get(), INFINITE))
        // The thread still writes the request: it must be over first.
        WaitForSingleObject(thread.get(), INFINITE);
    SetLastError(request.error);
    return request.started;
}
