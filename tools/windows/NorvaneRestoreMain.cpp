// NorvaneRestore.exe: the printer restore over the real Windows calls, a console program.
#include <windows.h>

#include <string>
#include <vector>

#include "ConsoleLines.h"
#include "platform/win32/Win32Platform.h"
#include "restore/RestoreProgram.h"

int wmain(int argc, wchar_t** argv) {
    // Every library loaded from here on comes from System32 or by a full path, never from the
    // program's folder or the current one, where a planted copy would run elevated.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    norvane::win32::Win32Platform platform;
    std::vector<std::wstring> lines, errors;
    const int code = norvane::restore::RunRestore(
        platform.Get(), std::vector<std::wstring>(argv + 1, argv + argc), lines, errors);
    norvane::win32::PrintLines(lines, errors);
    return code;
}
