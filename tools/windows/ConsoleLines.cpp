#include "ConsoleLines.h"

#include <windows.h>

namespace norvane::win32 {
namespace {

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

void PrintLines(const std::vector<std::wstring>& lines, const std::vector<std::wstring>& errors) {
    for (const auto& line : lines)
        PrintLine(GetStdHandle(STD_OUTPUT_HANDLE), line);
    for (const auto& line : errors)
        PrintLine(GetStdHandle(STD_ERROR_HANDLE), line);
}

}  // namespace norvane::win32
