#pragma once
// The program's start: single-instance guard, platform set-up, then Run.
#include <string>
#include <vector>

#include "app/command_line.h"

// The whole process after the system's entry point has collected the command-line words.
int EntryPoint(const std::vector<std::wstring>& words, CommandDialect dialect, int showCommand);

// Version gate, parsing, help, configuration, and the chosen run mode. Returns the exit code.
int Run(const std::vector<std::wstring>& words, CommandDialect dialect, int showCommand);

// Windows 5.1 (XP) and later of the NT family; a host that is not Windows has no gate.
bool IsSupportedWindowsVersion(bool ntFamily, unsigned major, unsigned minor);
