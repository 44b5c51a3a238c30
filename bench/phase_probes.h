// The probes that see the phases of setup's runs and of the reference loop
// start, from outside the program (see bench/README.md for what each sees).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "launch_watch.h"

class InitiateWatch;

// An install's phases. Without administrator rights the service steps are
// left out: its "services check" and "services" are only the steps between.
enum InstallPhase { kStartUp, kServicesCheck, kCopy, kServices, kGroup, kEnd, kInstallPhaseCount };
extern const wchar_t* const kInstallPhaseNames[kInstallPhaseCount];

// An uninstall's phases.
enum UninstallPhase { kUninstallStartUp, kUninstallServices, kUninstallFiles, kUninstallGroup, kUninstallEnd,
                      kUninstallPhaseCount };
extern const wchar_t* const kUninstallPhaseNames[kUninstallPhaseCount];

// The reference loop's: start-up, its copy while its panel is up, and the
// wind-down after it.
enum ReferencePhase { kReferenceStartUp, kReferenceCopy, kReferenceWindDown, kReferencePhaseCount };

// `destination` ends in a backslash. The copy is seen complete once the
// files under it hold `copiedBytes` (an earlier install's; 0: not known,
// the copy's end is then not seen). The product's uninstall entry must be
// absent when the install starts.
std::vector<PhaseProbe> InstallProbes(const std::wstring& destination, ULONGLONG copiedBytes,
                                      InitiateWatch& initiates);
// The files are seen going once fewer than `installedBytes` remain.
std::vector<PhaseProbe> UninstallProbes(const std::wstring& destination, ULONGLONG installedBytes,
                                        InitiateWatch& initiates);
std::vector<PhaseProbe> ReferenceProbes();

// The product's entry in the list of installed programs (this process's
// registry view, which is setup's), and its removal.
bool UninstallEntryPresent();
void RemoveUninstallEntry();
