// NorvaneCapture.exe: a PC's printing state written as a machine folder for support, over the
// real Windows calls; a console program that reads and changes nothing on the PC.
#include <windows.h>

#include <string>
#include <vector>

#include "ConsoleLines.h"
#include "capture/CaptureProgram.h"
#include "platform/win32/Win32Platform.h"

int wmain(int argc, wchar_t** argv) {
    // Every library loaded from here on comes from System32 or by a full path, never from the
    // program's folder or the current one.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    norvane::win32::Win32Platform platform;
    // The Norvane.exe whose package is captured is the one beside this program.
    const std::wstring self = platform.Get().system.ModuleFileName();
    const std::wstring program = self.substr(0, self.rfind(L'\\') + 1) + L"Norvane.exe";
    std::vector<std::wstring> lines, errors;
    const int code = norvane::capture::RunCapture(
        platform.Get(), program, NORVANE_VERSION_W, std::nullopt,
        std::vector<std::wstring>(argv + 1, argv + argc), lines, errors);
    norvane::win32::PrintLines(lines, errors);
    return code;
}
