#pragma once
// The start of a service, which the Service Control Manager answers only
// once the service's program has reported in: a tenth of a second to
// seconds.
#include <windows.h>

// StartServiceW for `service` with no arguments, called on a thread of its
// own while this one handles its messages, so the windows answer during
// the start. Its result, with the last error as the call left it.
BOOL StartServiceAnswering(SC_HANDLE service);
