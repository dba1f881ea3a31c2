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
};

class TestMachine {
public:
    TestMachine();
    ~TestMachine();

    const std::filesystem::path& Folder() const { return m_folder; }
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
    // What Windows does at its next start (`norvane-machine reboot`), the program's own RunOnce
    // command run through the program.
    void Reboot();
    // A value of an INI file on the machine (such as the log), read as Windows reads it on a
    // machine with that ANSI code page.
    std::wstring Ini(const std::wstring& windowsPath, const wchar_t* section, const wchar_t* key,
                     std::uint32_t ansiCodePage = 1252) const;

private:
    std::filesystem::path m_folder;
};

// A journal entry without its date and time.
std::wstring WithoutStamp(const std::wstring& entry);

inline constexpr wchar_t kProgramFolder[] = L"C:\\Program Files\\Halvex\\Norvane\\";
// The program folder as the program spells it: the executable's path in lower case.
inline constexpr wchar_t kLogFile[] = L"c:\\program files\\halvex\\norvane\\Norvane.log";

}  // namespace norvane::testing
