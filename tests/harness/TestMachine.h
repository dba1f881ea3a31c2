// A simulated machine built by a test in a temporary folder, and a run of the program on it.
#pragma once

#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/Controller.h"
#include "platform/sim/Machine.h"

namespace norvane::testing {

struct RunResult {
    std::vector<std::wstring> journal;       // this run's journal entries, without time stamps
    std::vector<std::wstring> messageBoxes;  // the journal's MessageBox entries
    std::wstring logFile;                    // the program's m_szLogFile
    std::optional<int> quitCode;
    int exitCode = 0;           // the process's exit code
    std::uint64_t changes = 0;  // the changes the run made to the machine (ChangeCounter)
};

class TestMachine {
public:
    TestMachine();
    ~TestMachine();

    const std::filesystem::path& Folder() const { return m_folder; }
    // Replaces the machine with a copy of a machine folder.
    void CopyFrom(const std::filesystem::path& machine);
    // machine.json's text (the default is "{}").
    void SetJson(const std::string& json);
    // registry.reg's body, after the header line.
    void SetRegistry(const std::string& body);
    // A file on the C: drive, folders made as needed.
    void WriteFile(const std::wstring& windowsPath, const std::string& content);
    bool Exists(const std::wstring& windowsPath) const;
    std::string ReadFile(const std::wstring& windowsPath) const;
    // The program folder with the English language library and, unless empty, config.ini.
    void InstallProgram(const std::string& configIni);

    std::unique_ptr<sim::Machine> Load(std::deque<std::wstring> answers = {});
    // Runs the program with a command line; message boxes take the given answers, then defaults.
    RunResult Run(const std::wstring& commandLine, std::deque<std::wstring> answers = {});
    // Runs the program as Run does, but in a child process that the machine kills after the
    // run's `change`-th change (Machine::CutOffAfter), so that nothing of the program runs
    // after it in this process either. True when the run was cut off, false when it ended
    // before making that many changes.
    bool RunCutOff(const std::wstring& commandLine, std::uint64_t change);
    // What Windows does at its next start (`norvane-machine reboot`), the program's own RunOnce
    // command run through the program.
    void Reboot();
    // Where a Windows path lies on the machine's drive, matched without regard to case; a path
    // whose folders do not exist yet is spelled as given.
    std::filesystem::path HostPath(const std::wstring& windowsPath) const;
    // A value of an INI file on the machine (such as the log), read as Windows reads it on a
    // machine with that ANSI code page.
    std::wstring Ini(const std::wstring& windowsPath, const wchar_t* section, const wchar_t* key,
                     std::uint32_t ansiCodePage = 1252) const;

private:
    std::filesystem::path m_folder;
    // The drive's names as this harness has found and made them, so that a test that writes
    // thousands of files into one folder does not list it again for each.
    std::unique_ptr<sim::PathMap> m_paths;
};

// A journal entry without its date and time.
std::wstring WithoutStamp(const std::wstring& entry);

inline constexpr wchar_t kProgramFolder[] = L"C:\\Program Files\\Halvex\\Norvane\\";
// The program folder as the program spells it: the executable's path in lower case.
inline constexpr wchar_t kLogFile[] = L"c:\\program files\\halvex\\norvane\\Norvane.log";

}  // namespace norvane::testing
