// NorvaneRestore.exe: the printer restore over the real Windows calls, a console program.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/Win32Platform.h"
#include "restore/RestoreProgram.h"

namespace {

// A line to the console as it is, or as UTF-8 when the output goes to a file or a pipe.
void PrintLine(HANDLE out, std::wstring line) {
    line += L"\r\n";
    DWORD mode = 0, written = 0;
    if (GetConsoleMode(out, &mode)) {
        WriteConsoleW(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        return;
    }
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()),
                                          nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), utf8.data(), bytes,
                        nullptr, nullptr);
    WriteFile(out, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // Every library loaded from here on comes from System32 or by a full path, never from the
    // program's folder or the current one, where a planted copy would run elevated.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    norvane::win32::Win32Platform platform;
    std::vector<std::wstring> lines, errors;
    const int code = norvane::restore::RunRestore(
        platform.Get(), std::vector<std::wstring>(argv + 1, argv + argc), lines, errors);
    for (const auto& line : lines)
        PrintLine(GetStdHandle(STD_OUTPUT_HANDLE), line);
    for (const auto& line : errors)
        PrintLine(GetStdHandle(STD_ERROR_HANDLE), line);
    return code;
}
