// Runs a program as a deployment tool does: its standard output is the write end of a pipe whose
// read end this process keeps. A tool reads to the end of the pipe before it takes the program
// as finished, and the end comes only when every copy of the write end has closed, those in the
// program's descendants too. Prints the program's exit code and how long after its end the pipe
// reached its end; exits with 1 when that took longer than the bound.
//   piped_run.exe <program> [arguments...]
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// How long after the program's end the pipe may stay open; a descendant that inherited the
// write end keeps it open for as long as it runs.
constexpr DWORD kBoundMs = 10000;
constexpr DWORD kPollMs = 50;

std::wstring Quoted(const std::wstring& argument) {
    return argument.find(L' ') == std::wstring::npos ? argument : L"\"" + argument + L"\"";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fputs("usage: piped_run.exe <program> [arguments...]\n", stderr);
        return 2;
    }
    std::wstring commandLine = Quoted(argv[1]);
    for (int i = 2; i < argc; ++i)
        commandLine += L" " + Quoted(argv[i]);

    // Wine starts its desktop process for the first program that asks for the desktop, and that
    // process, which runs as long as the Wine session, gets the asking program's standard
    // handles. It is started here, before any pipe exists, as Windows' desktop runs before any
    // deployment tool starts.
    GetDesktopWindow();

    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) {
        std::printf("CreatePipe failed: %lu\n", GetLastError());
        return 2;
    }
    // Only the program gets the write end; this process's read end stays its own.
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &started)) {
        std::printf("CreateProcess failed: %lu\n", GetLastError());
        return 2;
    }
    CloseHandle(writeEnd);
    CloseHandle(started.hThread);

    // The pipe is drained while the program runs, so that its writes never block.
    char buffer[4096];
    DWORD available = 0, read = 0;
    const auto pipeOpen = [&] {
        if (!PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr))
            return false;  // ERROR_BROKEN_PIPE: every write end has closed
        if (available > 0)
            ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr);
        return true;
    };
    while (WaitForSingleObject(started.hProcess, kPollMs) == WAIT_TIMEOUT)
        pipeOpen();
    DWORD exitCode = 0;
    GetExitCodeProcess(started.hProcess, &exitCode);
    CloseHandle(started.hProcess);
    std::printf("exit %lu\n", exitCode);

    const ULONGLONG ended = GetTickCount64();
    while (pipeOpen()) {
        if (GetTickCount64() - ended > kBoundMs) {
            std::printf("the pipe is still open %lu ms after the program's end\n", kBoundMs);
            return 1;
        }
        Sleep(kPollMs);
    }
    std::printf("the pipe ended %llu ms after the program's end\n", GetTickCount64() - ended);
    return 0;
}
