#include "app/run.h"
#include "platform/windows/win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int showCommand) {
    return EntryPoint(SplitCommandLine(commandLine ? commandLine : L""), CommandDialect::Windows,
                      showCommand);
}
