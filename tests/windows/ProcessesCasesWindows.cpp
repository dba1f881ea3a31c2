// Runs Norvane's Win32 Processes service against kernel32 (or Wine's) with the stand-in programs
// (tests/windows/programs), copied under the names each case needs: an uninstaller that hands its
// work over to a worker and exits, one that does the work itself, a program that is not there, and
// an unquoted command line whose program folder holds a blank, and a key pressed in a dialog while
// the dialog thread waits for a program. Each stand-in writes what it did to
// a trace file, so that the order of events can be checked. Prints one line per case and exits
// with 1 when a case failed.
//
// The cases play in a folder of their own at the root of C:, removed at the start and at the end;
// on real Windows that takes an administrator, as Norvane itself does.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "platform/win32/DialogThread.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/WinApi.h"
// winternl.h depends on windows.h coming first.
#include <winternl.h>

namespace {

namespace fs = std::filesystem;
using norvane::platform::Process;

const fs::path kWork = L"C:\\norvane-processes-cases";
const std::uint32_t kInstallerFlags = CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS |
                                      CREATE_NEW_PROCESS_GROUP | CREATE_DEFAULT_ERROR_MODE;

// What a stand-in plays: the keys of its side file.
struct Part {
    std::wstring child;
    int runMs = 0;
    std::wstring setupLog;
    std::wstring resultCode;
    std::wstring trace;
};

// The failed checks of one case.
class Case {
public:
    explicit Case(const char* name) : m_name(name) {}
    void Expect(bool ok, const std::string& what) {
        if (!ok)
            m_failures.push_back(what);
    }
    // Something the system under test does otherwise than Windows; shown on the case's line.
    void Note(const std::string& note) { m_notes += " (" + note + ")"; }
    // Prints the case's line; true when it passed.
    bool Report() const {
        if (m_failures.empty()) {
            std::printf("ok   %s%s\n", m_name, m_notes.c_str());
            return true;
        }
        for (const std::string& failure : m_failures)
            std::printf("FAIL %s: %s\n", m_name, failure.c_str());
        return false;
    }

private:
    const char* m_name;
    std::vector<std::string> m_failures;
    std::string m_notes;
};

fs::path StandIn() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return fs::path(self).parent_path() / L"stand_in.exe";
}

// A copy of the stand-in at `exe` that plays `part`.
void Install(const fs::path& exe, const Part& part) {
    fs::create_directories(exe.parent_path());
    fs::copy_file(StandIn(), exe, fs::copy_options::overwrite_existing);
    const std::wstring ini = exe.wstring() + L".ini";
    const auto write = [&](const wchar_t* key, const std::wstring& value) {
        WritePrivateProfileStringW(L"Program", key, value.c_str(), ini.c_str());
    };
    write(L"Child", part.child);
    write(L"RunMs", std::to_wstring(part.runMs));
    write(L"SetupLog", part.setupLog);
    write(L"ResultCode", part.resultCode);
    write(L"Trace", part.trace);
}

std::vector<std::string> TraceLines(const fs::path& trace) {
    std::vector<std::string> lines;
    std::ifstream in(trace);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The index of the first line that starts with `prefix`, or -1.
int LineStarting(const std::vector<std::string>& lines, const std::string& prefix) {
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].rfind(prefix, 0) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

std::string Id(std::uint32_t id) {
    return std::to_string(id);
}

std::string Narrow(const std::wstring& text) {
    return fs::path(text).string();
}

int ResultCode(const fs::path& setupLog) {
    return GetPrivateProfileIntW(L"ResponseResult", L"ResultCode", 99, setupLog.c_str());
}

// The handles this process holds open, from the system's handle list (the extended form, whose
// entries carry full process ids); -1 when the list cannot be read. The list's layout is not in
// the SDK headers.
int OpenHandles() {
    struct Entry {
        PVOID object;
        ULONG_PTR processId;
        ULONG_PTR handle;
        ULONG access;
        USHORT creatorBackTraceIndex;
        USHORT objectTypeIndex;
        ULONG attributes;
        ULONG reserved;
    };
    struct List {
        ULONG_PTR count;
        ULONG_PTR reserved;
        Entry entries[1];
    };
    const auto kSystemExtendedHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(64);
    const auto kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004);
    std::vector<char> buffer(1 << 16);
    NTSTATUS status;
    while ((status = NtQuerySystemInformation(kSystemExtendedHandleInformation, buffer.data(),
                                              buffer.size(), nullptr)) == kInfoLengthMismatch) {
        buffer.resize(buffer.size() * 2);
    }
    if (status != 0)
        return -1;
    const auto& list = *reinterpret_cast<const List*>(buffer.data());
    int open = 0;
    for (ULONG_PTR i = 0; i < list.count; ++i)
        open += list.entries[i].processId == GetCurrentProcessId();
    return open;
}

// A message-only window that counts the messages it is sent, so that a wait can be shown to have
// dispatched the caller's messages.
class MessageCounter {
public:
    MessageCounter() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"NorvaneProcessesCases";
        RegisterClassW(&windowClass);
        m_window = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                   nullptr, windowClass.hInstance, nullptr);
    }
    ~MessageCounter() { DestroyWindow(m_window); }
    bool Post() const { return PostMessageW(m_window, WM_APP, 0, 0); }
    static int Count() { return s_count; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message != WM_APP)
            return DefWindowProcW(window, message, wParam, lParam);
        ++s_count;
        return 0;
    }

    HWND m_window;
    static inline int s_count = 0;
};

// The uninstaller starts the worker and exits; the worker works on for RunMs and writes setup.log.
// The wait on the uninstaller must end before the work is done, and the worker must be found as
// its child and waited for.
bool HandOver(norvane::win32::Win32Processes& processes) {
    Case c("hand-over");
    const fs::path folder = kWork / L"hand-over";
    const fs::path setupLog = folder / L"ISS" / L"setup.log";
    const fs::path trace = folder / L"trace.txt";
    fs::create_directories(setupLog.parent_path());
    Install(folder / L"worker.exe", {L"", 1500, setupLog, L"0", trace});
    Install(folder / L"uninst.exe", {(folder / L"worker.exe").wstring(), 0, L"", L"", trace});
    const std::wstring commandLine = L"\"" + (folder / L"uninst.exe").wstring() + L"\" /s -f1\"" +
                                     (folder / L"ISS" / L"U1.iss").wstring() + L"\"";

    MessageCounter counter;
    // Start keeps the process's handle and closes the thread's at once.
    const int handlesBefore = OpenHandles();
    std::unique_ptr<Process> uninstaller;
    const auto started = processes.Start(commandLine, kInstallerFlags, uninstaller);
    const int handlesAfter = OpenHandles();
    c.Expect(started == 0 && uninstaller, "Start gives " + Id(started));
    if (!uninstaller)
        return c.Report();
    c.Expect(handlesBefore >= 0 && handlesAfter == handlesBefore + 1,
             "Start left " + std::to_string(handlesAfter - handlesBefore) +
                 " handles open, not 1 (counts " + std::to_string(handlesBefore) + ", " +
                 std::to_string(handlesAfter) + ")");
    c.Expect(counter.Post(), "a message is posted before the wait");
    c.Expect(uninstaller->WaitPumpingMessages() == 0, "the wait on the uninstaller succeeds");
    c.Expect(MessageCounter::Count() == 1, "the wait dispatched the posted message " +
                                               Id(MessageCounter::Count()) + " times, not once");
    c.Expect(!fs::exists(setupLog), "setup.log is there when the uninstaller has ended");

    std::vector<std::unique_ptr<Process>> children;
    const auto found = processes.FindChildren(uninstaller->Id(), children);
    c.Expect(found == 0 && children.size() == 1, "FindChildren gives " + Id(found) + " and " +
                                                     std::to_string(children.size()) +
                                                     " processes");
    Process* worker = children.empty() ? nullptr : children[0].get();
    if (worker)
        c.Expect(worker->WaitPumpingMessages() == 0, "the wait on the worker succeeds");
    c.Expect(ResultCode(setupLog) == 0, "setup.log's ResultCode after the worker's end is " +
                                            std::to_string(ResultCode(setupLog)) + ", not 0");

    const auto lines = TraceLines(trace);
    const std::string uninstallerId = Id(uninstaller->Id());
    const std::string workerId = worker ? Id(worker->Id()) : "none";
    const int uninstallerStart = LineStarting(
        lines, "start " + uninstallerId + " parent " + Id(GetCurrentProcessId()) + " args ");
    c.Expect(
        uninstallerStart >= 0 && lines[uninstallerStart].ends_with(" args " + Narrow(commandLine)),
        "the uninstaller's start line shows this process as parent and the command line");
    const int handedOver = LineStarting(lines, "started child " + workerId);
    const int uninstallerEnd = LineStarting(lines, "end " + uninstallerId);
    c.Expect(handedOver >= 0 && handedOver < uninstallerEnd,
             "FindChildren's process " + workerId + " is the one the uninstaller started");
    c.Expect(LineStarting(lines, "start " + workerId + " parent " + uninstallerId) >= 0,
             "the worker's parent is the uninstaller");
    const int wrote = LineStarting(lines, "wrote setup.log");
    c.Expect(wrote >= 0 && wrote < LineStarting(lines, "end " + workerId),
             "the worker wrote setup.log before its end");
    return c.Report();
}

// An uninstaller that does the work itself leaves no child to wait for.
bool NoChild(norvane::win32::Win32Processes& processes) {
    Case c("no-child");
    const fs::path folder = kWork / L"alone";
    const fs::path setupLog = folder / L"setup.log";
    Install(folder / L"uninst.exe", {L"", 0, setupLog, L"0", folder / L"trace.txt"});
    std::unique_ptr<Process> uninstaller;
    const auto started = processes.Start(L"\"" + (folder / L"uninst.exe").wstring() + L"\" /s",
                                         kInstallerFlags, uninstaller);
    c.Expect(started == 0 && uninstaller, "Start gives " + Id(started));
    if (!uninstaller)
        return c.Report();
    c.Expect(uninstaller->WaitPumpingMessages() == 0, "the wait succeeds");
    c.Expect(ResultCode(setupLog) == 0, "setup.log is written when the uninstaller has ended");
    std::vector<std::unique_ptr<Process>> children;
    const auto found = processes.FindChildren(uninstaller->Id(), children);
    c.Expect(found == 0 && children.empty(), "FindChildren gives " + Id(found) + " and " +
                                                 std::to_string(children.size()) +
                                                 " processes, not none");
    return c.Report();
}

bool MissingProgram(norvane::win32::Win32Processes& processes) {
    Case c("missing-program");
    std::unique_ptr<Process> process;
    const auto started =
        processes.Start(L"\"" + (kWork / L"missing" / L"uninst.exe").wstring() + L"\" /s",
                        kInstallerFlags, process);
    c.Expect(started == ERROR_FILE_NOT_FOUND && !process,
             "Start gives " + Id(started) + ", not ERROR_FILE_NOT_FOUND and no process");
    return c.Report();
}

// An unquoted command line is split at its blanks: "<work>\x y\uninst.exe /s" names
// "<work>\x.exe" first and "<work>\x y\uninst.exe" only when that does not exist. `expected` is
// the copy that must have run: its trace file holds the started process's id and the command line;
// the other's holds nothing.
bool BlankInFolder(norvane::win32::Win32Processes& processes, const char* name,
                   const fs::path& expected, const fs::path& other) {
    Case c(name);
    const std::wstring program = (kWork / L"x y" / L"uninst.exe").wstring();
    const std::wstring commandLine = program + L" /s";
    for (const fs::path& exe : {expected, other})
        fs::remove(exe.wstring() + L".trace");
    std::unique_ptr<Process> process;
    const auto started = processes.Start(commandLine, kInstallerFlags, process);
    c.Expect(started == 0 && process, "Start gives " + Id(started));
    if (!process)
        return c.Report();
    c.Expect(process->WaitPumpingMessages() == 0, "the wait succeeds");
    const auto lines = TraceLines(expected.wstring() + L".trace");
    const bool ran = LineStarting(lines, "start " + Id(process->Id()) + " parent ") == 0;
    c.Expect(ran, Narrow(expected.wstring()) + " did not run");
    // Windows hands the command line over as given; Wine puts quotation marks around a program
    // path that it found by joining words at their blanks.
    if (ran && lines[0].ends_with(" args \"" + Narrow(program) + "\" /s"))
        c.Note("the program's path came quoted in the command line");
    else
        c.Expect(ran && lines[0].ends_with(" args " + Narrow(commandLine)),
                 "the program's command line is not the one given");
    c.Expect(TraceLines(other.wstring() + L".trace").empty(), Narrow(other.wstring()) + " ran");
    return c.Report();
}

// A key for the dialog on top, pressed while the dialog thread waits for a program, goes through
// the dialog manager as in the dialog's own loop: Tab moves the focus from the first button on to
// the second. A window of the dialog class with two buttons stands for the dialog.
bool KeysDuringWait(norvane::win32::DialogThread& dialogs,
                    norvane::win32::Win32Processes& processes) {
    Case c("keys-during-wait");
    const fs::path program = kWork / L"keys" / L"uninst.exe";
    Install(program, {L"", 1000, L"", L"", L""});
    const HWND dialog = CreateWindowExW(0, WC_DIALOG, L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100,
                                        nullptr, nullptr, nullptr, nullptr);
    const auto button = [&](int id) {
        return CreateWindowExW(0, L"Button", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 60 * id, 0,
                               50, 20, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               nullptr, nullptr);
    };
    const HWND first = button(1);
    const HWND second = button(2);
    c.Expect(dialog && first && second, "no window could be made: the case needs a display");
    if (!dialog || !first || !second)
        return c.Report();
    dialogs.Opened(dialog);
    SetFocus(first);
    c.Expect(GetFocus() == first, "the first button has the focus before the wait");
    PostMessageW(first, WM_KEYDOWN, VK_TAB, 1);
    std::unique_ptr<Process> process;
    const auto started =
        processes.Start(L"\"" + program.wstring() + L"\"", kInstallerFlags, process);
    c.Expect(started == 0 && process, "Start gives " + Id(started));
    if (process)
        c.Expect(process->WaitPumpingMessages() == 0, "the wait succeeds");
    c.Expect(GetFocus() == second, "Tab during the wait left the focus on control " +
                                       std::to_string(GetDlgCtrlID(GetFocus())) + ", not 2");
    dialogs.Closed(dialog);
    DestroyWindow(dialog);
    return c.Report();
}

// Each copy traces to a file beside itself.
void InstallTracing(const fs::path& exe) {
    Install(exe, {L"", 0, L"", L"", exe.wstring() + L".trace"});
}

}  // namespace

int main() {
    std::error_code ec;
    fs::remove_all(kWork, ec);
    norvane::win32::DialogThread dialogs;
    norvane::win32::Win32Processes processes{dialogs};
    int failed = 0;
    failed += !HandOver(processes);
    failed += !NoChild(processes);
    failed += !MissingProgram(processes);
    failed += !KeysDuringWait(dialogs, processes);

    const fs::path uninstaller = kWork / L"x y" / L"uninst.exe";
    const fs::path x = kWork / L"x.exe";
    InstallTracing(uninstaller);
    failed += !BlankInFolder(processes, "blank-in-folder", uninstaller, x);
    InstallTracing(x);
    failed += !BlankInFolder(processes, "blank-in-folder-shadowed", x, uninstaller);

    fs::remove_all(kWork, ec);
    std::printf("%d failed\n", failed);
    return failed == 0 ? 0 : 1;
}
