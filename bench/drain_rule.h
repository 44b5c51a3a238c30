// The drain rule that setup follows while it copies, shared by the bench's
// reference program and its report: the message queue is drained when the
// last drain is at least setup's own interval old, and at the first and last
// block of every file, so the reference does exactly the work that setup is
// required to do.
#pragma once

#include "shell/message_loop.h"

constexpr double kDrainIntervalSeconds = kDrainIntervalMs / 1000.0;

// The block size setup reads with LZRead.
constexpr int kBlockBytes = 8192;
