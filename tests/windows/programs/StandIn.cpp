// A stand-in for the external programs Norvane starts: a utility's uninstaller that hands its work
// over to a second process and exits, that second process (the worker that writes setup.log), or a
// scanner's setup program. What it plays is set by a side file, its own path followed by ".ini",
// so that one executable, copied under several names, plays every part of a case:
//   [Program]
//   Child=<program to start and leave running; optional>
//   RunMs=<milliseconds to sleep before acting>
//   SetupLog=<path of the setup.log to write>
//   ResultCode=<[ResponseResult] ResultCode to write there; optional: nothing is written without>
//   Trace=<file that gets one line per event, shared by every copy of a case to prove the order>
// A GUI-subsystem program, as the real ones are: it opens no console, whatever it is started with.
#include <windows.h>
// tlhelp32.h depends on windows.h coming first.
#include <tlhelp32.h>

#include <string>

namespace {

const wchar_t kSection[] = L"Program";

std::wstring OwnPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), path.size());
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring Setting(const std::wstring& ini, const wchar_t* key) {
    wchar_t value[1024];
    GetPrivateProfileStringW(kSection, key, L"", value, 1024, ini.c_str());
    return value;
}

std::string Utf8(const std::wstring& text) {
    if (text.empty())
        return {};
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), text.size(), nullptr, 0, nullptr, nullptr);
    std::string utf8(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), text.size(), utf8.data(), size, nullptr, nullptr);
    return utf8;
}

// The process that started this one, as the process snapshot records it.
DWORD ParentId() {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    DWORD parent = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ProcessID == GetCurrentProcessId()) {
            parent = entry.th32ParentProcessID;
            break;
        }
    }
    CloseHandle(snapshot);
    return parent;
}

// Appends one line; every write of an append-only handle lands at the end of the file, so the
// lines of several copies running at once do not overwrite one another.
void Trace(const std::wstring& file, const std::string& line) {
    if (file.empty())
        return;
    const HANDLE trace = CreateFileW(file.c_str(), FILE_APPEND_DATA,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (trace == INVALID_HANDLE_VALUE)
        return;
    const std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(trace, text.data(), text.size(), &written, nullptr);
    CloseHandle(trace);
}

// Starts the child and leaves it running; its handles are not needed. The child inherits what
// this copy inherited, as setup programs' children commonly do, so a handle that reached the
// uninstaller lives on in whatever it leaves behind.
DWORD StartChild(const std::wstring& program) {
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &started)) {
        return 0;
    }
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return started.dwProcessId;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::wstring ini = OwnPath() + L".ini";
    const std::wstring trace = Setting(ini, L"Trace");
    const std::string self = std::to_string(GetCurrentProcessId());
    Trace(trace, "start " + self + " parent " + std::to_string(ParentId()) + " args " +
                     Utf8(GetCommandLineW()));

    Sleep(GetPrivateProfileIntW(kSection, L"RunMs", 0, ini.c_str()));
    const std::wstring setupLog = Setting(ini, L"SetupLog");
    const std::wstring resultCode = Setting(ini, L"ResultCode");
    if (!setupLog.empty() && !resultCode.empty() &&
        WritePrivateProfileStringW(L"ResponseResult", L"ResultCode", resultCode.c_str(),
                                   setupLog.c_str())) {
        Trace(trace, "wrote setup.log");
    }
    const std::wstring child = Setting(ini, L"Child");
    if (!child.empty()) {
        const DWORD childId = StartChild(child);
        Trace(trace, childId != 0
                         ? "started child " + std::to_string(childId)
                         : "could not start child, error " + std::to_string(GetLastError()));
    }
    Trace(trace, "end " + self);
    return 0;
}
