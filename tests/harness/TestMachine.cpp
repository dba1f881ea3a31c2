#include "harness/TestMachine.h"

#include "RunProgram.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include <fstream>
#include <sstream>

#include "hosts/DialogHost.h"
#include "platform/sim/PathMap.h"
#include "platform/sim/ProfileEngine.h"
#include "platform/sim/Reboot.h"
#include "support/Text.h"

namespace norvane::testing {
namespace fs = std::filesystem;

TestMachine::TestMachine() {
    std::string pattern = (fs::temp_directory_path() / "norvane-test-XXXXXX").string();
    m_folder = mkdtemp(pattern.data());
    fs::create_directories(m_folder / "drive_c" / "Windows");
    m_paths = std::make_unique<sim::PathMap>(m_folder / "drive_c");
    SetJson("{}");
    SetRegistry("");
}

TestMachine::~TestMachine() {
    std::error_code ec;
    fs::remove_all(m_folder, ec);
}

void TestMachine::CopyFrom(const fs::path& machine) {
    fs::remove_all(m_folder);
    fs::copy(machine, m_folder, fs::copy_options::recursive);
    m_paths = std::make_unique<sim::PathMap>(m_folder / "drive_c");
}

void TestMachine::SetJson(const std::string& json) {
    std::ofstream(m_folder / "machine.json") << json;
}

void TestMachine::SetRegistry(const std::string& body) {
    std::ofstream(m_folder / "registry.reg", std::ios::binary)
        << "Windows Registry Editor Version 5.00\r\n\r\n"
        << body;
}

// The folders that exist are taken as the drive spells them, so that a file written into
// "spool\\drivers" lands in an existing "spool\\DRIVERS" rather than in a second folder, which a
// Windows drive could not hold; the names below them are made as written.
fs::path TestMachine::HostPath(const std::wstring& windowsPath) const {
    fs::path host = m_folder / "drive_c";
    std::wstring prefix = windowsPath.substr(0, 2);
    bool existing = true;
    for (const auto& part : text::Split(windowsPath.substr(3), L'\\')) {
        if (part.empty())
            continue;
        prefix += L"\\" + part;
        sim::ResolvedPath resolved;
        existing = existing && m_paths->Resolve(prefix, L"C:\\", resolved) == 0;
        host = existing ? resolved.host : host / text::ToUtf8(part);
    }
    return host;
}

void TestMachine::WriteFile(const std::wstring& windowsPath, const std::string& content) {
    const fs::path host = HostPath(windowsPath);
    // The folders missing above the file, made from the highest down, then the file.
    std::vector<fs::path> missing;
    for (fs::path folder = host.parent_path(); !fs::exists(folder); folder = folder.parent_path())
        missing.push_back(folder);
    for (auto folder = missing.rbegin(); folder != missing.rend(); ++folder)
        m_paths->Change(*folder, [&] { return fs::create_directory(*folder); });
    m_paths->Change(
        host, [&] { return static_cast<bool>(std::ofstream(host, std::ios::binary) << content); });
}

bool TestMachine::Exists(const std::wstring& windowsPath) const {
    return fs::exists(HostPath(windowsPath));
}

std::string TestMachine::ReadFile(const std::wstring& windowsPath) const {
    std::ifstream in(HostPath(windowsPath), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void TestMachine::InstallProgram(const std::string& configIni) {
    std::ifstream rc(NORVANE_SOURCE_DIR "/resources/ENU/Norvane.rc", std::ios::binary);
    std::ostringstream strings;
    strings << rc.rdbuf();
    WriteFile(std::wstring(kProgramFolder) + L"ENU\\Norvane.dll", strings.str());
    if (!configIni.empty())
        WriteFile(std::wstring(kProgramFolder) + L"config.ini", configIni);
}

std::unique_ptr<sim::Machine> TestMachine::Load(std::deque<std::wstring> answers) {
    hosts::UiOptions ui;
    ui.mode = hosts::UiMode::Script;
    ui.answers = std::move(answers);
    static std::FILE* sink = std::fopen("/dev/null", "w");
    ui.out = sink;
    sim::MachineError error;
    auto machine = sim::Machine::Load(m_folder, hosts::MakeHost(std::move(ui)), error);
    if (!machine)
        throw std::runtime_error("test machine does not load: " + error.ToString());
    return machine;
}

RunResult TestMachine::Run(const std::wstring& commandLine, std::deque<std::wstring> answers) {
    auto machine = Load(std::move(answers));
    const tools::ProgramRun run = tools::RunProgram(*machine, commandLine);
    if (const auto failed = machine->Save())
        throw std::runtime_error("test machine is not saved: " + failed->ToString());
    RunResult result{{},           {},           run.logFile,
                     run.quitCode, run.exitCode, machine->JournalLog().Changes().Count()};
    for (const auto& entry : machine->JournalLog().Entries()) {
        const std::wstring bare = WithoutStamp(entry);
        result.journal.push_back(bare);
        if (bare.starts_with(L"MessageBox "))
            result.messageBoxes.push_back(bare);
    }
    return result;
}

bool TestMachine::RunCutOff(const std::wstring& commandLine, std::uint64_t change) {
    std::fflush(nullptr);  // or the child would write this process's buffered output again
    const pid_t child = fork();
    if (child < 0)
        throw std::runtime_error("cannot start the run to cut off");
    if (child == 0) {
        int status = 2;
        try {
            auto machine = Load();
            machine->CutOffAfter(change);
            tools::RunProgram(*machine, commandLine);
            status = machine->Save() ? 2 : 0;
        } catch (...) {
        }
        _exit(status);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        (WEXITSTATUS(status) != 0 && WEXITSTATUS(status) != sim::kCutOffExitStatus)) {
        throw std::runtime_error("the run to cut off failed");
    }
    return WEXITSTATUS(status) == sim::kCutOffExitStatus;
}

void TestMachine::Reboot() {
    auto machine = Load();
    const auto failed =
        sim::Reboot(*machine, [](sim::Machine& restarted, const std::wstring& arguments) {
            tools::RunProgram(restarted, arguments);
        });
    if (failed)
        throw std::runtime_error("test machine is not saved: " + failed->ToString());
}

std::wstring WithoutStamp(const std::wstring& entry) {
    return entry.substr(entry.find(L' ', entry.find(L' ') + 1) + 1);
}

std::wstring TestMachine::Ini(const std::wstring& windowsPath, const wchar_t* section,
                              const wchar_t* key, std::uint32_t ansiCodePage) const {
    wchar_t buffer[1024];
    sim::ProfileEngine engine(ansiCodePage);
    engine.GetString(section, key, L"<missing>", buffer, 1024, HostPath(windowsPath));
    return buffer;
}

}  // namespace norvane::testing
