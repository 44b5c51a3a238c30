#pragma once
// The directory levels of product directories that installs created, kept
// beside the product's uninstall entry (kCreatedLevelsValue of
// kUninstallKey), so that the uninstall removes those and no folder that the
// user had made. Each level is a full path without a trailing backslash.
#include <string>
#include <vector>

// Adds `levels` to the record, keeping what earlier installs recorded (a
// level already there, in any case, once). True when the record was
// written.
bool MergeCreatedLevels(const std::vector<std::wstring>& levels);

// The recorded levels; false when there is no record (the product was
// installed by a setup that kept none).
bool ReadCreatedLevels(std::vector<std::wstring>& levels);

// Deletes the record: the uninstall has scheduled the levels.
void ForgetCreatedLevels();
