// Norvane.exe: the program over the real Windows calls.
#include <windows.h>

#include "app/CommandLine.h"
#include "app/Controller.h"
#include "app/ExitCode.h"
#include "platform/win32/Win32Platform.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Every library loaded from here on comes from System32 or by a full path, never from the
    // program's folder or the current one, where a planted copy would run elevated.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // No critical-error box (a drive not ready, a library on missing media): in a deployment
    // tool's session nobody could answer it, and the run would hang.
    SetErrorMode(SEM_FAILCRITICALERRORS);
    norvane::win32::Win32Platform platform;
    norvane::CUninstallerController app(platform.Get());
    app.InitInstance(norvane::TextAfterProgramName(GetCommandLineW()));
    app.ExitInstance();
    return norvane::ProcessExitCode(app);
}
