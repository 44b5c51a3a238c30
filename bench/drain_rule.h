// The drain rule that setup follows while it copies, shared by the bench's
// reference program and its report: the message queue is drained when the
// last drain is at least this old, and at the first and last block of every
// file. It must equal setup's own interval, so that the reference does
// exactly the work that setup is required to do.
#pragma once

constexpr double kDrainIntervalSeconds = 0.005;

// The block size setup reads with LZRead.
constexpr int kBlockBytes = 8192;
