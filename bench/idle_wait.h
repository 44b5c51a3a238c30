// The whole install's runs are timed on a quiet machine: what Program
// Manager's group windows and their processes leave to do when they close,
// and what a run before left, would otherwise be counted in the next run.
#pragma once

// Waits until the processors have been idle for at least `idleShare` of a
// `windowMs` window, at most `longestMs`. The seconds waited.
double WaitForIdleProcessors(double idleShare, unsigned windowMs, unsigned longestMs);
