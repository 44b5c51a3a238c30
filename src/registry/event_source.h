#pragma once
// Setup's source in the Application event log, registered so that Event
// Viewer finds the message table in the installed copy of setup. Events
// reported before the registration, or after its removal, carry their text
// all the same.
#include <windows.h>

// Registers the source with `program` (setup's installed copy) as its
// message file, for errors, warnings and information. False when it could
// not be written.
bool RegisterEventMessages(const wchar_t* program);

// Removes the source's registration, as the uninstall removes the copy of
// setup that holds the messages.
void UnregisterEventMessages();
