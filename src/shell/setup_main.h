#pragma once
#include <windows.h>

// The language option. The program's own literal, not a bank string: it is
// read before any bank is chosen.
constexpr wchar_t kLanguageOption[] = L"/L:";

// The program: reads the command line, shows the setup window, runs the
// start message through the message loop and returns the exit code.
int SetupMain(HINSTANCE instance, HINSTANCE previousInstance, const wchar_t* commandLine, int showCommand);

// Fills LangBase, LanguageGiven, MaintenanceMode and SourcePath from the
// command line; `modulePath` is the program's own file.
void ReadCommandLine(const wchar_t* commandLine, const wchar_t* modulePath);
