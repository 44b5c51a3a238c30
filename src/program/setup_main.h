#pragma once
#include <windows.h>

// The program: reads the command line, shows the setup window, runs the
// start message through the message loop and returns the exit code.
int SetupMain(HINSTANCE instance, HINSTANCE previousInstance, const wchar_t* commandLine, int showCommand);

// Fills LangBase, LanguageGiven, MaintenanceMode and SourcePath from the
// command line (without "/U:", SourcePath is the program's own directory).
void ReadCommandLine(const wchar_t* commandLine);
