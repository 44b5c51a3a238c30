#pragma once
// The start and the end of a run in the Application event log: what the run
// was asked to do, and how it ended.
#include <windows.h>

// Reports the run's task as the command line gives it (the install type and
// destination, or the maintenance task and the product directory; a dialog
// that is to ask for one is said to), its language and whether it is
// unattended. Never an account or its password.
void ReportRunStart();

// Reports how the run ended, and the code it ends with.
void ReportRunEnd(int exitCode);
