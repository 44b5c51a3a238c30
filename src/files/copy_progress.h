#pragma once
// Progress of the copy phase: the gauge moves by expanded bytes, the info
// panel steps through the billboard texts, and a failure is remembered for
// the rest of the run. The state that others read (CopyPercent,
// BillboardId, CopyErrorFlag, CurrentDisk) is in the setup state; the
// counters behind the steps are this unit's own.
#include <windows.h>

// Reads the total size and the number of billboard texts from the banks,
// and starts the counting and the billboard texts anew.
void InitCopyProgress();

// Counts `bytes` of expanded data; moves the gauge and the billboard text
// when a step is crossed.
void AdvanceCopyProgress(DWORD bytes);

// Sets the copy's percent and shows it.
void SetCopyPercent(int percent);
