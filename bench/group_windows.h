// Program Manager under Wine opens a window for the group with each
// command that creates or shows it, in a process of its own, and leaves it
// open. Left, they would pile up over the runs: every later DDE initiate
// visits them, and the display runs out of clients.
#pragma once

#include <string>

// Waits until no window titled `group` has appeared for `quietMs` (at most
// `longestMs` in all), asks each to close as its close box would, and waits
// for the processes that showed them to end. The windows closed.
int CloseGroupWindows(const std::wstring& group, unsigned quietMs, unsigned longestMs);
