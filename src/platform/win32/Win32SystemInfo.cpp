#include "platform/win32/Win32SystemInfo.h"

#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/LastError.h"
#include "support/Text.h"

namespace norvane::win32 {
namespace {

using platform::WinError;

// The language of FormatMessageW's texts: neutral, that is the user's default.
constexpr DWORD kDefaultLanguage = 0x400;

using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);

}  // namespace

std::wstring Win32SystemInfo::ModuleFileName() {
    // A path that fills the buffer has been cut: try again with twice the room. The core bounds
    // the path to its own buffer.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring Win32SystemInfo::WindowsDirectory() {
    // Asked with no buffer, Windows answers with the size it needs, terminator included.
    std::vector<wchar_t> buffer(GetWindowsDirectoryW(nullptr, 0));
    const UINT length = GetWindowsDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    return length < buffer.size() ? std::wstring(buffer.data(), length) : std::wstring();
}

std::wstring SystemFolder() {
    std::vector<wchar_t> buffer(GetSystemDirectoryW(nullptr, 0));
    const UINT length = GetSystemDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    return length < buffer.size() ? std::wstring(buffer.data(), length) : std::wstring();
}

std::wstring Win32SystemInfo::SystemDirectory() {
    return SystemFolder();
}

WinError Win32SystemInfo::CommonAppDataFolder(std::wstring& path) {
    wchar_t buffer[MAX_PATH];
    const HRESULT result =
        SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer);
    if (FAILED(result)) {
        // Failures of Win32 origin carry their Windows code; any other failure stays an HRESULT.
        return HRESULT_FACILITY(result) == FACILITY_WIN32 ? HRESULT_CODE(result)
                                                          : static_cast<WinError>(result);
    }
    path = buffer;
    return platform::win::kSuccess;
}

std::uint32_t Win32SystemInfo::ThreadLocale() {
    return GetThreadLocale();
}

std::uint16_t Win32SystemInfo::SystemDefaultLangId() {
    return GetSystemDefaultLangID();
}

// RtlGetVersion rather than GetVersionExW: it reports the real version whether or not the
// executable's manifest declares the system compatible. ntdll is in every process.
std::uint32_t Win32SystemInfo::CurrentThreadId() {
    return GetCurrentThreadId();
}

std::uint32_t Win32SystemInfo::OsMajorVersion() {
    const FARPROC address = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion");
    // The detour through void(*)() keeps -Wcast-function-type quiet about the cast.
    const auto rtlGetVersion =
        reinterpret_cast<RtlGetVersionFunction>(reinterpret_cast<void (*)()>(address));
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    return rtlGetVersion && rtlGetVersion(&info) == 0 ? info.dwMajorVersion : 0;
}

WinError Win32SystemInfo::FileVersion(const std::wstring& path, std::uint32_t& versionMs,
                                      std::uint32_t& versionLs) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0)
        return LastError();
    std::vector<std::uint8_t> data(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data()))
        return LastError();
    void* fixed = nullptr;
    UINT fixedSize = 0;
    if (!VerQueryValueW(data.data(), L"\\", &fixed, &fixedSize) ||
        fixedSize < sizeof(VS_FIXEDFILEINFO)) {
        return ERROR_RESOURCE_TYPE_NOT_FOUND;
    }
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(fixed);
    versionMs = info->dwFileVersionMS;
    versionLs = info->dwFileVersionLS;
    return platform::win::kSuccess;
}

std::wstring Win32SystemInfo::ErrorMessage(WinError code) {
    UniqueLocal<wchar_t> buffer;
    // With FORMAT_MESSAGE_ALLOCATE_BUFFER the buffer argument receives the address of the text.
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, kDefaultLanguage, reinterpret_cast<LPWSTR>(buffer.Put()), 0, nullptr);
    return length > 0 ? text::TrimRight(std::wstring_view(buffer.Get(), length)) : std::wstring();
}

std::uint32_t Win32SystemInfo::AnsiCodePage() {
    return GetACP();
}

std::wstring Win32SystemInfo::ComputerName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    return GetComputerNameW(name, &length) ? std::wstring(name, length) : std::wstring();
}

bool Win32SystemInfo::AnsiCodePageHolds(const std::wstring& text) {
    // With UTF-8 as the ANSI code page (a Windows option) every character fits, and the call
    // refuses both the flag and the question.
    if (text.empty() || GetACP() == CP_UTF8)
        return true;
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr,
                                         0, nullptr, nullptr);
    if (size <= 0)
        return false;
    std::vector<char> bytes(static_cast<std::size_t>(size));
    BOOL usedDefault = FALSE;
    return WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, bytes.data(),
                               size, nullptr, &usedDefault) == size &&
           !usedDefault;
}

std::wstring Win32SystemInfo::FromAnsiCodePage(const std::vector<std::uint8_t>& bytes) {
    if (bytes.empty())
        return {};
    const auto* data = reinterpret_cast<const char*>(bytes.data());
    const int length = static_cast<int>(bytes.size());
    const int size = MultiByteToWideChar(CP_ACP, 0, data, length, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0)
        MultiByteToWideChar(CP_ACP, 0, data, length, text.data(), size);
    return text;
}

}  // namespace norvane::win32
