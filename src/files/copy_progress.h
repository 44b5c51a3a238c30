#pragma once
// Progress of the copy phase: the gauge moves by expanded bytes, the info
// panel steps through the billboard texts, and a failure is remembered for
// the rest of the run.
#include <windows.h>

extern int CurrentDisk;      // the numbered source disk now expected
extern bool CopyErrorFlag;   // a copy failed or was cancelled; never reset
extern int CopyPercent;      // the percent the gauge shows during the copy
extern UINT BillboardId;     // absolute ID of the billboard text now shown

// Reads the total size and the number of billboard texts from the banks.
void InitCopyProgress();

// Counts `bytes` of expanded data; moves the gauge and the billboard text
// when a step is crossed.
void AdvanceCopyProgress(DWORD bytes);

// Sets the copy's percent and shows it.
void SetCopyPercent(int percent);
