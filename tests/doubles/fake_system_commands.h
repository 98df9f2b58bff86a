#pragma once
// Records the commands a repair starts and answers each with a scripted result; `onRun` lets
// a test act as the command would (delete a folder, say).
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/system_commands.h"

class FakeSystemCommands : public platform::SystemCommands {
  public:
    struct Run {
        std::wstring program;
        std::wstring parameters;
        unsigned timeoutMs;
    };
    bool windowsCommands = true;
    std::vector<Run> runs;
    // By program and parameters joined with a blank; kRunEnded when not listed.
    std::map<std::wstring, int> results;
    std::function<void(const Run&)> onRun;

    bool HaveWindowsCommands() override { return windowsCommands; }
    int RunAndWait(const std::wstring& program, const std::wstring& parameters,
                   unsigned timeoutMs) override {
        runs.push_back({program, parameters, timeoutMs});
        if (onRun)
            onRun(runs.back());
        const auto found = results.find(program + L" " + parameters);
        return found == results.end() ? platform::kRunEnded : found->second;
    }
};
