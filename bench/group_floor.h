// The floor of the program group step, in this process: a plain DDE client
// (the platform's DDEML) that connects to Program Manager and sends the
// commands one after the other, each awaited, and nothing else.
#pragma once

#include <string>
#include <vector>

// The seconds from the client's start to its end; < 0 when no Program
// Manager answered or a command could not be sent (a command the server
// refuses counts: setup sends it all the same).
double SendGroupCommands(const std::vector<std::wstring>& commands);
