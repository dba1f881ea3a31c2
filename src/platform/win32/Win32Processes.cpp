#include "platform/win32/Win32Processes.h"

#include "platform/win32/DialogThread.h"
#include "platform/win32/Handles.h"
#include "platform/win32/LastError.h"

namespace norvane::win32 {
namespace {

using platform::WinError;

// One counter for every process of this executable: the section is marked shared, so Windows
// maps the same page into each of them instead of a private copy. It starts at 0 and only grows.
__attribute__((section(".shared"), shared)) volatile LONG g_instanceCount = 0;

// Waits for a process to end while dispatching the caller's window messages, so that its
// dialogs stay responsive during the wait.
WinError WaitWhilePumping(HANDLE process, const DialogThread& dialogs) {
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0)
            return platform::win::kSuccess;
        if (woken != WAIT_OBJECT_0 + 1)
            return LastError();
        dialogs.DispatchWaiting();
    }
}

class Win32Process final : public platform::Process {
public:
    Win32Process(UniqueHandle process, DWORD id, const DialogThread& dialogs)
        : m_process(std::move(process)), m_id(id), m_dialogs(dialogs) {}

    std::uint32_t Id() const override { return m_id; }
    WinError WaitPumpingMessages() override { return WaitWhilePumping(m_process.Get(), m_dialogs); }
    WinError ExitCode(std::uint32_t& code) override {
        DWORD exitCode = 0;
        if (!GetExitCodeProcess(m_process.Get(), &exitCode))
            return LastError();
        code = exitCode;
        return platform::win::kSuccess;
    }

private:
    UniqueHandle m_process;
    DWORD m_id;
    const DialogThread& m_dialogs;
};

bool CreationTime(HANDLE process, FILETIME& created) {
    FILETIME exited, kernel, user;
    return GetProcessTimes(process, &created, &exited, &kernel, &user);
}

}  // namespace

bool Win32Processes::ClaimFirstInstance() {
    // The first copy moves the counter from 0 to 1; it never falls, so every later copy finds it
    // taken. The exchange is atomic so that two copies started together cannot both pass.
    return InterlockedCompareExchange(&g_instanceCount, 1, 0) == 0;
}

WinError Win32Processes::Start(const std::wstring& commandLine, std::uint32_t creationFlags,
                               std::unique_ptr<platform::Process>& process) {
    process.reset();
    // CreateProcessW may write into the command line, so it gets a copy of its own. No handle is
    // inherited: a deployment tool's output pipe would live on in whatever the program leaves
    // running, and the tool would wait for its end long after this program's.
    std::wstring mutableCommandLine = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, mutableCommandLine.data(), nullptr, nullptr, FALSE, creationFlags,
                        nullptr, nullptr, &startup, &started)) {
        return LastError();
    }
    // Only the process is waited for; its first thread's handle is of no use and goes at once.
    CloseHandle(started.hThread);
    process = std::make_unique<Win32Process>(UniqueHandle(started.hProcess), started.dwProcessId,
                                             m_dialogs);
    return platform::win::kSuccess;
}

WinError Win32Processes::FindChildren(std::uint32_t parentId,
                                      std::vector<std::unique_ptr<platform::Process>>& children) {
    children.clear();
    FILETIME parentCreated;
    const UniqueHandle parent(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, parentId));
    if (!parent || !CreationTime(parent.Get(), parentCreated))
        return LastError();
    const UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return LastError();
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
         more = Process32NextW(snapshot.Get(), &entry)) {
        if (entry.th32ParentProcessID != parentId)
            continue;
        // Waiting takes SYNCHRONIZE, the creation time the limited query right, which every
        // process grants that the program may wait for at all.
        UniqueHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                                         entry.th32ProcessID));
        FILETIME created;
        // The clock ticks coarser than processes start, so a child may share its parent's time;
        // one created before it took the parent's ID from an ended process.
        if (!process || !CreationTime(process.Get(), created) ||
            CompareFileTime(&created, &parentCreated) < 0) {
            continue;
        }
        children.push_back(
            std::make_unique<Win32Process>(std::move(process), entry.th32ProcessID, m_dialogs));
    }
    return platform::win::kSuccess;
}

WinError Win32Processes::ShellExecuteElevated(const std::wstring& file,
                                              const std::wstring& parameters) {
    SHELLEXECUTEINFOW execute{};
    execute.cbSize = sizeof execute;
    // No error dialog of the shell's own: the caller reports failures, and a silent run must not
    // stop at a message box (ShellExecuteW behaves the same way).
    execute.fMask = SEE_MASK_FLAG_NO_UI;
    execute.lpVerb = L"runas";
    execute.lpFile = file.c_str();
    execute.lpParameters = parameters.c_str();
    execute.nShow = SW_HIDE;
    // Started, not waited for: the program runs on its own while the caller goes on.
    return ShellExecuteExW(&execute) ? platform::win::kSuccess : LastError();
}

}  // namespace norvane::win32
