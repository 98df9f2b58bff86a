#pragma once
// Turning the command line into run flags and an output folder.
#include <string>
#include <vector>

#include "config/run_flags.h"

// Windows programs get one text and take "/name" and "-name"; a terminal program gets its
// words from the shell and takes "--name" as well, while a word starting with "/" is an
// option there only when it names one (so that "/home/me" is a folder).
enum class CommandDialect { Windows, Posix };

struct CommandLine {
    RunFlags flags;
    std::wstring pathText;
    bool help = false;
    bool version = false;
    // Terminal only: print the About information, or the licence agreement.
    bool about = false;
    bool licence = false;
    // Terminal only: inventory the machine described in this file instead of this one.
    std::wstring machineFile;
};

// The words of a Windows command line: split at every single blank, quotes included.
std::vector<std::wstring> SplitCommandLine(const std::wstring& text);

CommandLine ParseCommandLine(const std::vector<std::wstring>& words, CommandDialect dialect);

// The output folder named by the path text: outer double quotes removed, %NAME% references
// replaced by the environment's values (unknown ones kept as written), and a final separator
// added. Empty when the text names no folder at all.
std::wstring ExpandPathArgument(const std::wstring& text, wchar_t separator = L'\\');
