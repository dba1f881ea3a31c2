// Facts about the machine and the running program.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/WinError.h"

namespace norvane::platform {

class SystemInfo {
public:
    virtual ~SystemInfo() = default;

    // GetModuleFileNameW of the executable.
    virtual std::wstring ModuleFileName() = 0;
    // GetWindowsDirectoryW.
    virtual std::wstring WindowsDirectory() = 0;
    // GetSystemDirectoryW: System32, since the program is 64-bit.
    virtual std::wstring SystemDirectory() = 0;
    // SHGetFolderPathW(CSIDL_COMMON_APPDATA).
    [[nodiscard]] virtual WinError CommonAppDataFolder(std::wstring& path) = 0;
    virtual std::uint32_t ThreadLocale() = 0;
    virtual std::uint16_t SystemDefaultLangId() = 0;
    virtual std::uint32_t OsMajorVersion() = 0;
    // GetACP: the ANSI code page.
    virtual std::uint32_t AnsiCodePage() = 0;
    // GetComputerNameW: the computer's NetBIOS name; empty when Windows does not tell it.
    virtual std::wstring ComputerName() = 0;
    // GetCurrentThreadId.
    virtual std::uint32_t CurrentThreadId() = 0;
    // The fixed file version of an executable (VS_FIXEDFILEINFO dwFileVersionMS and LS).
    [[nodiscard]] virtual WinError FileVersion(const std::wstring& path, std::uint32_t& versionMs,
                                               std::uint32_t& versionLs) = 0;
    // FormatMessageW from the system, language 0x400: the text as Windows gives it, with the line
    // break (and any blank) it ends with cut off, so that it fits inside one line of a report or
    // a log value; empty when the code has no text.
    virtual std::wstring ErrorMessage(WinError code) = 0;
    // WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS) without using the default character:
    // whether the ANSI code page has every character of the text, so that it comes back as it was.
    virtual bool AnsiCodePageHolds(const std::wstring& text) = 0;
    // MultiByteToWideChar(CP_ACP): text in the ANSI code page.
    virtual std::wstring FromAnsiCodePage(const std::vector<std::uint8_t>& bytes) = 0;
};

}  // namespace norvane::platform
