// Drives an interactive run of Norvane.exe as a user would, with window messages only: starts the
// program (without switches) from its own folder, finds each dialog by class and caption, reads
// and ticks list rows, presses buttons, sends keys and window-menu commands, reads the progress
// bar and texts, and saves pictures of the dialogs. Arguments after the steps file go to
// Norvane.exe (a language switch for the pictures). The steps come from a file, one a line:
//   dialog KIND            wait for the active dialog: about, selection, confirm, progress,
//                          utility or question (a message box with Yes and No)
//   rows A|B;C|D           the list's rows, cells split by |, rows by ;
//   tick N / untick N      row N's box (LVM_SETITEMSTATE)
//   check ID STATE         a box's state: 0 cleared, 1 ticked, 2 indeterminate
//   enabled ID 0|1         whether a control is enabled
//   press ID               a button click (BM_CLICK, posted)
//   key VK                 a key pressed on the control that has the focus (posted)
//   alt C                  Alt with letter C, as it reaches the control that has the focus
//   focus ID               the control that has the focus
//   owner KIND             the kind of the dialog's owner window (none when it has none)
//   syscommand N           a window-menu command (posted)
//   bar N                  wait until the bar reads N; "bar >N" until it reads more than N;
//                          "bar <N" the bar reads less than N now
//   text ID TEXT           a control's text (\n for a line break)
//   shot PATH              a PNG picture of the dialog
//   wait MS                a pause
//   ends                   wait for the program's end
// Each failed step is printed, then "steps done"; the exit status is the number of failures.
#include <windows.h>
// commctrl.h depends on windows.h coming first.
#include <commctrl.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "PngFile.h"

namespace {

constexpr DWORD kTimeout = 30000;
// Input is posted: a message sent to the program afterwards would be handled before it, so the
// next step waits until the program has had time to take it.
constexpr DWORD kSettle = 300;
constexpr wchar_t kCaption[] = L"Norvane";

PROCESS_INFORMATION g_program{};
HWND g_dialog = nullptr;
int g_failures = 0;

void Fail(const std::wstring& step, const std::wstring& why) {
    std::wprintf(L"FAIL %ls: %ls\n", step.c_str(), why.c_str());
    std::fflush(stdout);
    ++g_failures;
}

std::wstring Widen(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                            static_cast<int>(wide.size()))));
    return wide;
}

std::wstring Text(HWND window) {
    wchar_t text[4096] = {};
    SendMessageW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring Kind(HWND dialog) {
    if (GetDlgItem(dialog, 1011))
        return L"about";
    if (GetDlgItem(dialog, 1001))
        return L"selection";
    if (GetDlgItem(dialog, 1007))
        return L"confirm";
    if (GetDlgItem(dialog, 1013))
        return L"utility";
    if (FindWindowExW(dialog, nullptr, PROGRESS_CLASSW, nullptr))
        return L"progress";
    if (GetDlgItem(dialog, IDYES) && GetDlgItem(dialog, IDNO))
        return L"question";
    return L"?";
}

// The program's enabled, visible dialog with the program's caption: the one the user works in.
HWND ActiveDialog() {
    struct Search {
        HWND found = nullptr;
    } search;
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process != g_program.dwProcessId || !IsWindowVisible(window) ||
                !IsWindowEnabled(window) || ClassOf(window) != L"#32770" ||
                Text(window) != kCaption) {
                return TRUE;
            }
            reinterpret_cast<Search*>(data)->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

template <typename Test>
bool WaitFor(Test test) {
    for (DWORD waited = 0; waited < kTimeout; waited += 50) {
        if (test())
            return true;
        Sleep(50);
    }
    return test();
}

// Memory in the program's process, for the list messages that carry a pointer.
class Remote {
public:
    explicit Remote(std::size_t size)
        : m_at(VirtualAllocEx(g_program.hProcess, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
    ~Remote() { VirtualFreeEx(g_program.hProcess, m_at, 0, MEM_RELEASE); }
    void Write(const void* data, std::size_t size, std::size_t offset = 0) {
        WriteProcessMemory(g_program.hProcess, static_cast<char*>(m_at) + offset, data, size,
                           nullptr);
    }
    void Read(void* data, std::size_t size, std::size_t offset = 0) {
        ReadProcessMemory(g_program.hProcess, static_cast<char*>(m_at) + offset, data, size,
                          nullptr);
    }
    char* At(std::size_t offset = 0) { return static_cast<char*>(m_at) + offset; }

private:
    void* m_at;
};

HWND List() {
    for (const int id : {1001, 1007, 1013}) {
        if (HWND list = GetDlgItem(g_dialog, id))
            return list;
    }
    return nullptr;
}

std::wstring Rows() {
    const HWND list = List();
    const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    const HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int columns = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    Remote memory(sizeof(LVITEMW) + 1024 * sizeof(wchar_t));
    std::wstring all;
    for (int row = 0; row < rows; ++row) {
        all += row ? L";" : L"";
        for (int column = 0; column < columns; ++column) {
            LVITEMW item{};
            item.iSubItem = column;
            item.pszText = reinterpret_cast<LPWSTR>(memory.At(sizeof item));
            item.cchTextMax = 1024;
            memory.Write(&item, sizeof item);
            SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                         reinterpret_cast<LPARAM>(memory.At()));
            wchar_t text[1024] = {};
            memory.Read(text, sizeof text - sizeof(wchar_t), sizeof item);
            all += (column ? L"|" : L"") + std::wstring(text);
        }
    }
    return all;
}

void SetTick(int row, bool on) {
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(on ? 2 : 1);
    Remote memory(sizeof item);
    memory.Write(&item, sizeof item);
    SendMessageW(List(), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(memory.At()));
}

int BarPosition() {
    return static_cast<int>(
        SendMessageW(FindWindowExW(g_dialog, nullptr, PROGRESS_CLASSW, nullptr), PBM_GETPOS, 0, 0));
}

HWND FocusOf(HWND dialog) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    return info.hwndFocus ? info.hwndFocus : dialog;
}

std::wstring Unescape(std::wstring text) {
    for (std::size_t at = text.find(L"\\n"); at != std::wstring::npos; at = text.find(L"\\n", at))
        text.replace(at, 2, L"\r\n");
    return text;
}

void Step(const std::wstring& line) {
    std::wistringstream words(line);
    std::wstring verb, rest;
    words >> verb;
    std::getline(words >> std::ws, rest);
    if (verb == L"dialog") {
        HWND found = nullptr;
        WaitFor([&] {
            found = ActiveDialog();
            return found && Kind(found) == rest;
        });
        if (!found || Kind(found) != rest)
            return Fail(line, L"the active dialog is " + (found ? Kind(found) : L"none"));
        g_dialog = found;
        Sleep(200);  // painted before anything is read or pictured
    } else if (verb == L"rows") {
        const std::wstring rows = Rows();
        if (rows != rest)
            Fail(line, L"the rows are " + rows);
    } else if (verb == L"tick" || verb == L"untick") {
        SetTick(std::stoi(rest), verb == L"tick");
    } else if (verb == L"check" || verb == L"enabled") {
        int id = 0, expected = 0;
        std::wistringstream(rest) >> id >> expected;
        const HWND control = GetDlgItem(g_dialog, id);
        const int actual = verb == L"check"
                               ? static_cast<int>(SendMessageW(control, BM_GETCHECK, 0, 0))
                           : IsWindowEnabled(control) ? 1
                                                      : 0;
        if (actual != expected)
            Fail(line, L"it is " + std::to_wstring(actual));
    } else if (verb == L"press") {
        PostMessageW(GetDlgItem(g_dialog, std::stoi(rest)), BM_CLICK, 0, 0);
        Sleep(kSettle);
    } else if (verb == L"key") {
        const HWND focus = FocusOf(g_dialog);
        PostMessageW(focus, WM_KEYDOWN, static_cast<WPARAM>(std::stoi(rest)), 1);
        PostMessageW(focus, WM_KEYUP, static_cast<WPARAM>(std::stoi(rest)), 0xC0000001);
        Sleep(kSettle);
    } else if (verb == L"alt") {
        // Bit 29 of a key message: Alt is held.
        PostMessageW(FocusOf(g_dialog), WM_SYSCHAR, static_cast<WPARAM>(rest.at(0)), 0x20000001);
        Sleep(kSettle);
    } else if (verb == L"focus") {
        const int actual = GetDlgCtrlID(FocusOf(g_dialog));
        if (actual != std::stoi(rest))
            Fail(line, L"the focus is on " + std::to_wstring(actual));
    } else if (verb == L"owner") {
        const HWND owner = GetWindow(g_dialog, GW_OWNER);
        const std::wstring kind = owner ? Kind(owner) : L"none";
        if (kind != rest)
            Fail(line, L"the owner is " + kind);
    } else if (verb == L"syscommand") {
        PostMessageW(g_dialog, WM_SYSCOMMAND, static_cast<WPARAM>(std::stoi(rest)), 0);
        Sleep(kSettle);
    } else if (verb == L"bar") {
        if (rest.rfind(L"<", 0) == 0) {
            if (BarPosition() >= std::stoi(rest.substr(1)))
                Fail(line, L"the bar reads " + std::to_wstring(BarPosition()));
        } else if (rest.rfind(L">", 0) == 0) {
            if (!WaitFor([&] { return BarPosition() > std::stoi(rest.substr(1)); }))
                Fail(line, L"the bar reads " + std::to_wstring(BarPosition()));
        } else if (!WaitFor([&] { return BarPosition() == std::stoi(rest); })) {
            Fail(line, L"the bar reads " + std::to_wstring(BarPosition()));
        }
    } else if (verb == L"text") {
        std::wistringstream fields(rest);
        int id = 0;
        fields >> id;
        std::wstring expected;
        std::getline(fields >> std::ws, expected);
        const std::wstring actual = Text(GetDlgItem(g_dialog, id));
        if (actual != Unescape(expected))
            Fail(line, L"it reads \"" + actual + L"\"");
    } else if (verb == L"shot") {
        // Under load a dialog may still be painting when it is found.
        WaitForInputIdle(g_program.hProcess, 5000);
        Sleep(500);
        RECT area;
        GetWindowRect(g_dialog, &area);
        if (!SaveScreenArea(area, rest))
            Fail(line, L"no picture");
    } else if (verb == L"wait") {
        Sleep(static_cast<DWORD>(std::stoi(rest)));
    } else if (verb == L"ends") {
        if (WaitForSingleObject(g_program.hProcess, kTimeout) != WAIT_OBJECT_0)
            Fail(line, L"Norvane.exe still runs");
    } else if (!verb.empty() && verb[0] != L'#') {
        Fail(line, L"unknown step");
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2)
        return 1;
    // Per-monitor aware as Norvane.exe is, so that its windows' rectangles come in the screen's
    // own pixels and a picture at another DPI than 96 takes the whole dialog.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    std::ifstream steps(argv[1]);
    std::vector<std::wstring> lines;
    for (std::string line; std::getline(steps, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(Widen(line));
    }
    wchar_t folder[MAX_PATH];
    GetModuleFileNameW(nullptr, folder, MAX_PATH);
    *wcsrchr(folder, L'\\') = L'\0';
    std::wstring command = std::wstring(L"\"") + folder + L"\\Norvane.exe\"";
    for (int arg = 2; arg < argc; ++arg)
        command += std::wstring(L" ") + argv[arg];
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder,
                        &startup, &g_program)) {
        Fail(command, L"cannot start it");
        return 1;
    }
    for (const auto& line : lines)
        Step(line);
    if (WaitForSingleObject(g_program.hProcess, 0) != WAIT_OBJECT_0) {
        TerminateProcess(g_program.hProcess, 99);
        Fail(L"end", L"Norvane.exe still ran after the last step");
    }
    CloseHandle(g_program.hThread);
    CloseHandle(g_program.hProcess);
    std::wprintf(L"steps done\n");
    return g_failures;
}
