// The programs a simulated machine runs (machine.json "programs"): how CreateProcessW finds them
// from a command line, their ends on the virtual clock and what the ends do, the child an
// uninstaller hands over to, and the journal that tells it in order.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "harness/TestMachine.h"
#include "platform/sim/Reboot.h"
#include "sim/SpoolerMachine.h"

namespace norvane::sim {
namespace {

using namespace std::string_literals;
namespace fs = std::filesystem;
namespace win = platform::win;
using platform::RootKey;
using test::JournalOf;

constexpr wchar_t kUninstaller[] = L"C:\\Program Files (x86)\\Corvida\\UtlB\\uninst.exe";
constexpr wchar_t kWorker[] = L"C:\\Windows\\Temp\\utlb-worker.exe";
constexpr wchar_t kSetupLog[] = L"C:\\Program Files\\Halvex\\Norvane\\ISS\\setup.log";
constexpr wchar_t kUtlbExe[] = L"C:\\Program Files (x86)\\Corvida\\UtlB\\utlb.exe";
constexpr wchar_t kUtlbDll[] = L"C:\\Program Files (x86)\\Corvida\\UtlB\\utlb.dll";
constexpr wchar_t kUninstallKey[] =
    L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{5D1C0A7E}";
constexpr wchar_t kSessionManager[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr std::uint32_t kCreateNoWindow = 0x08000000;

// A utility's uninstaller that hands its work over to a worker, as InstallShield's do.
constexpr char kUninstallerJson[] = R"({
  "localTime": "2026-03-02T09:15:00",
  "programs": {
    "C:\\Program Files (x86)\\Corvida\\UtlB\\uninst.exe": {
      "child": "C:\\Windows\\Temp\\utlb-worker.exe",
      "exitCode": 3010,
      "runMs": 1500
    },
    "C:\\Windows\\Temp\\utlb-worker.exe": {
      "deleteFiles": [ "C:\\Program Files (x86)\\Corvida\\UtlB\\utlb.exe",
                       "C:\\Program Files (x86)\\Corvida\\UtlB\\gone.exe" ],
      "deleteKeys": [
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{5D1C0A7E}",
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone" ],
      "pendingRenames": [ "C:\\Program Files (x86)\\Corvida\\UtlB\\utlb.dll" ],
      "runMs": 2000,
      "writeIni": [ { "file": "C:\\Program Files\\Halvex\\Norvane\\ISS\\setup.log",
                      "key": "ResultCode", "section": "ResponseResult", "value": "0" } ]
    }
  }
})";

// The time of day of a journal entry, "hh:mm:ss.mmm".
std::wstring TimeOf(const std::wstring& entry) {
    return entry.substr(11, 12);
}

class ProgramsTest : public ::testing::Test {
protected:
    Machine& Load() {
        m_machine = m_test.Load();
        return *m_machine;
    }
    platform::Processes& Processes() { return m_machine->Platform().processes; }
    platform::WinError Start(const std::wstring& commandLine,
                             std::unique_ptr<platform::Process>& process) {
        return Processes().Start(commandLine, kCreateNoWindow, process);
    }
    // Starts a program and waits for it; the path of the executable that ran.
    std::wstring Run(const std::wstring& commandLine) {
        std::unique_ptr<platform::Process> process;
        if (Start(commandLine, process) != win::kSuccess)
            return L"(not started)";
        (void)process->WaitPumpingMessages();
        const std::wstring ends = L"Process " + std::to_wstring(process->Id()) + L" ends ";
        for (const auto& entry : JournalOf(*m_machine)) {
            if (entry.starts_with(ends))
                return entry.substr(ends.size());
        }
        return L"(not ended)";
    }
    // The processes FindChildren gives for `parentId`, opened for waiting.
    std::vector<std::unique_ptr<platform::Process>> Children(std::uint32_t parentId) {
        std::vector<std::unique_ptr<platform::Process>> children;
        EXPECT_EQ(Processes().FindChildren(parentId, children), win::kSuccess);
        return children;
    }
    std::vector<std::uint32_t> ChildIds(std::uint32_t parentId) {
        std::vector<std::uint32_t> ids;
        for (const auto& child : Children(parentId))
            ids.push_back(child->Id());
        return ids;
    }
    std::wstring ResultCode() {
        wchar_t value[16];
        m_machine->Platform().profile.GetString(L"ResponseResult", L"ResultCode", L"<missing>",
                                                value, 16, kSetupLog);
        return value;
    }
    bool KeyExists(const std::wstring& path) {
        return m_machine->Platform().registry.OpenKey(RootKey::LocalMachine, path,
                                                      platform::RegAccess::Read) == win::kSuccess;
    }
    std::string NowText() {
        const auto t = m_machine->Platform().clock.Now();
        char text[16];
        std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", t.hour, t.minute, t.second,
                      t.millisecond);
        return text;
    }

    testing::TestMachine m_test;
    std::unique_ptr<Machine> m_machine;
};

class ProgramsUninstallerTest : public ProgramsTest {
protected:
    void SetUp() override {
        m_test.SetJson(kUninstallerJson);
        for (const wchar_t* file : {kUninstaller, kWorker, kUtlbExe, kUtlbDll})
            m_test.WriteFile(file, "x");
        m_test.WriteFile(L"C:\\Program Files\\Halvex\\Norvane\\ISS\\UtlB.iss", "x");
        m_test.SetRegistry(
            test::Key("HKEY_LOCAL_MACHINE\\" + text::ToUtf8(kUninstallKey),
                      {"\"DisplayName\"=\"Corvida UtlB\""}) +
            test::Key("HKEY_LOCAL_MACHINE\\" + text::ToUtf8(kUninstallKey) + "\\Components"));
        Load();
        // A rename another setup left for the next start of Windows.
        m_machine->Registry()
            .Create(L"HKEY_LOCAL_MACHINE\\" + std::wstring(kSessionManager))
            ->SetValue(L"PendingFileRenameOperations",
                       {platform::RegType::MultiSz, text::ToUtf16Le(L"\\??\\C:\\old.tmp\0\0\0"s)});
    }
    std::wstring UninstallCommand() {
        return L"\"" + std::wstring(kUninstaller) +
               L"\" /s -f1\"C:\\Program Files\\Halvex\\Norvane\\ISS\\UtlB.iss\"";
    }
};

TEST_F(ProgramsUninstallerTest, TheWorkIsDoneByTheChildTheUninstallerHandsOverTo) {
    std::unique_ptr<platform::Process> uninstaller;
    ASSERT_EQ(Start(UninstallCommand(), uninstaller), win::kSuccess);
    EXPECT_EQ(uninstaller->Id(), 1000u);
    std::uint32_t exitCode = 0;
    ASSERT_EQ(uninstaller->ExitCode(exitCode), win::kSuccess);
    EXPECT_EQ(exitCode, 259u);  // STILL_ACTIVE
    ASSERT_EQ(uninstaller->WaitPumpingMessages(), win::kSuccess);
    EXPECT_EQ(NowText(), "09:15:01.500");
    ASSERT_EQ(uninstaller->ExitCode(exitCode), win::kSuccess);
    EXPECT_EQ(exitCode, 3010u);
    // The uninstaller has gone, its worker has not finished yet.
    EXPECT_EQ(ResultCode(), L"<missing>");
    EXPECT_TRUE(KeyExists(kUninstallKey));
    EXPECT_TRUE(m_test.Exists(kUtlbExe));

    // The worker is found by the id of its parent, although that one has ended.
    auto children = Children(uninstaller->Id());
    ASSERT_EQ(children.size(), 1u);
    EXPECT_EQ(children[0]->Id(), 1004u);
    ASSERT_EQ(children[0]->WaitPumpingMessages(), win::kSuccess);
    EXPECT_EQ(NowText(), "09:15:03.500");
    ASSERT_EQ(children[0]->ExitCode(exitCode), win::kSuccess);
    EXPECT_EQ(exitCode, 0u);  // a program that names no code ends with 0
    EXPECT_EQ(ResultCode(), L"0");
    EXPECT_FALSE(KeyExists(kUninstallKey));
    EXPECT_FALSE(m_test.Exists(kUtlbExe));
    EXPECT_TRUE(m_test.Exists(kUtlbDll));
    EXPECT_TRUE(Children(uninstaller->Id()).empty());
    EXPECT_TRUE(Children(1004).empty());

    // Queued as MoveFileExW queues a deletion, after what was there; a restart carries it out.
    platform::RegValue renames;
    ASSERT_EQ(
        m_machine->Platform().registry.QueryValue(RootKey::LocalMachine, kSessionManager,
                                                  L"PendingFileRenameOperations", 4096, renames),
        win::kSuccess);
    EXPECT_EQ(renames.type, platform::RegType::MultiSz);
    EXPECT_EQ(renames.data, text::ToUtf16Le(L"\\??\\C:\\old.tmp\0\0"s + L"\\??\\" + kUtlbDll +
                                            std::wstring(3, L'\0')));
    EXPECT_FALSE(Reboot(*m_machine, [](Machine&, const std::wstring&) {}));
    EXPECT_FALSE(m_test.Exists(kUtlbDll));
}

TEST_F(ProgramsUninstallerTest, TheJournalShowsTheResultReadOnlyAfterTheChildEnded) {
    std::unique_ptr<platform::Process> uninstaller;
    ASSERT_EQ(Start(UninstallCommand(), uninstaller), win::kSuccess);
    (void)uninstaller->WaitPumpingMessages();
    const auto children = Children(uninstaller->Id());
    ASSERT_EQ(children.size(), 1u);
    (void)children[0]->WaitPumpingMessages();
    // What the program does with the result once it has read it.
    (void)m_machine->Platform().files.DeleteFile(kSetupLog);

    const std::wstring ends = L"Process 1004: ";
    EXPECT_EQ(JournalOf(*m_machine),
              (std::vector<std::wstring>{
                  L"CreateProcess " + Quoted(UninstallCommand()) +
                      L" flags=134217728 -> process 1000, parent 4242",
                  L"Process 1000 ends " + Quoted(kUninstaller),
                  L"CreateProcess " + Quoted(L"\"" + std::wstring(kWorker) + L"\"") +
                      L" flags=0 -> process 1004, parent 1000",
                  L"Process 1004 ends " + Quoted(kWorker),
                  ends + L"WritePrivateProfileString " + Quoted(kSetupLog) +
                      L" [ResponseResult] \"ResultCode\"=\"0\"",
                  ends + L"RegDeleteTree HKEY_LOCAL_MACHINE\\" + kUninstallKey,
                  ends + L"RegDeleteTree HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone -> 2",
                  ends + L"DeleteFile " + Quoted(kUtlbExe),
                  ends + L"DeleteFile \"C:\\Program Files (x86)\\Corvida\\UtlB\\gone.exe\" -> 2",
                  ends + L"MoveFileEx " + Quoted(kUtlbDll) + L" (null) MOVEFILE_DELAY_UNTIL_REBOOT",
                  L"DeleteFile " + Quoted(kSetupLog)}));
    const auto& stamped = m_machine->JournalLog().Entries();
    EXPECT_EQ(TimeOf(stamped[1]), L"09:15:01.500");
    EXPECT_EQ(TimeOf(stamped[3]), L"09:15:03.500");
}

TEST_F(ProgramsUninstallerTest, AProcessNobodyWaitsForEndsWhenTheClockPassesItsEnd) {
    std::unique_ptr<platform::Process> uninstaller;
    ASSERT_EQ(Start(UninstallCommand(), uninstaller), win::kSuccess);
    auto& clock = m_machine->Platform().clock;
    clock.Sleep(1000);
    EXPECT_TRUE(Children(uninstaller->Id()).empty());
    clock.Sleep(1000);  // the uninstaller ends on the way, at 1.5 s
    const auto children = Children(uninstaller->Id());
    ASSERT_EQ(children.size(), 1u);
    EXPECT_EQ(ResultCode(), L"<missing>");
    clock.Sleep(5000);  // and the worker at 3.5 s
    EXPECT_EQ(ResultCode(), L"0");
    // Waiting for a process that has ended takes no time.
    (void)children[0]->WaitPumpingMessages();
    (void)uninstaller->WaitPumpingMessages();
    EXPECT_EQ(NowText(), "09:15:07.000");

    std::vector<std::wstring> times;
    for (const auto& entry : m_machine->JournalLog().Entries()) {
        const std::wstring bare = testing::WithoutStamp(entry);
        if (bare.starts_with(L"Sleep ") || bare.starts_with(L"Process 100") ||
            bare.starts_with(L"CreateProcess ")) {
            times.push_back(TimeOf(entry) + L" " + bare.substr(0, bare.find(L'"')));
        }
    }
    EXPECT_EQ(
        times,
        (std::vector<std::wstring>{
            L"09:15:00.000 CreateProcess ", L"09:15:01.000 Sleep 1000",
            L"09:15:01.500 Process 1000 ends ", L"09:15:01.500 CreateProcess ",
            L"09:15:02.000 Sleep 1000", L"09:15:03.500 Process 1004 ends ",
            L"09:15:03.500 Process 1004: WritePrivateProfileString ",
            L"09:15:03.500 Process 1004: RegDeleteTree HKEY_LOCAL_MACHINE\\SOFTWARE"
            L"\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{5D1C0A7E}",
            L"09:15:03.500 Process 1004: RegDeleteTree HKEY_LOCAL_MACHINE\\SOFTWARE"
            L"\\Gone -> 2",
            L"09:15:03.500 Process 1004: DeleteFile ", L"09:15:03.500 Process 1004: DeleteFile ",
            L"09:15:03.500 Process 1004: MoveFileEx ", L"09:15:07.000 Sleep 5000"}));
}

TEST_F(ProgramsUninstallerTest, ProcessesStillRunningEndWhenTheRunIsSaved) {
    std::unique_ptr<platform::Process> uninstaller;
    ASSERT_EQ(Start(UninstallCommand(), uninstaller), win::kSuccess);
    EXPECT_FALSE(m_machine->Save());

    std::ifstream in(m_test.Folder() / "journal.log");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[1].substr(0, 42), "2026-03-02 09:15:01.500 Process 1000 ends ");
    EXPECT_EQ(lines[3].substr(0, 42), "2026-03-02 09:15:03.500 Process 1004 ends ");
    // The registry is written after the worker's changes.
    Load();
    EXPECT_FALSE(KeyExists(kUninstallKey));
    platform::RegValue renames;
    EXPECT_EQ(
        m_machine->Platform().registry.QueryValue(RootKey::LocalMachine, kSessionManager,
                                                  L"PendingFileRenameOperations", 4096, renames),
        win::kSuccess);
}

TEST_F(ProgramsTest, ProcessesThatEndTogetherEndInTheOrderTheyStartedAndAtSaveByTheirEnds) {
    m_test.SetJson(R"({"localTime": "2026-03-02T09:15:00", "programs": {
        "C:\\Tools\\a.exe": {"runMs": 1500, "child": "C:\\Tools\\c.exe"},
        "C:\\Tools\\b.exe": {"runMs": 1800},
        "C:\\Tools\\c.exe": {"runMs": 500},
        "C:\\Tools\\d.exe": {"runMs": 1500}}})");
    for (const wchar_t* file : {L"a.exe", L"b.exe", L"c.exe", L"d.exe"})
        m_test.WriteFile(std::wstring(L"C:\\Tools\\") + file, "x");
    Load();
    std::unique_ptr<platform::Process> a, b, d;
    ASSERT_EQ(Start(L"C:\\Tools\\d.exe", d), win::kSuccess);
    ASSERT_EQ(Start(L"C:\\Tools\\b.exe", b), win::kSuccess);
    ASSERT_EQ(Start(L"C:\\Tools\\a.exe", a), win::kSuccess);
    // The program's children still running, in the order they started.
    EXPECT_EQ(ChildIds(kProgramProcessId), (std::vector<std::uint32_t>{d->Id(), b->Id(), a->Id()}));
    EXPECT_FALSE(m_machine->Save());

    std::vector<std::wstring> ends;
    for (const auto& entry : m_machine->JournalLog().Entries()) {
        const std::wstring bare = testing::WithoutStamp(entry);
        if (bare.find(L" ends ") != std::wstring::npos)
            ends.push_back(TimeOf(entry) + L" " + bare);
    }
    EXPECT_EQ(ends,
              (std::vector<std::wstring>{L"09:15:01.500 Process 1000 ends \"C:\\Tools\\d.exe\"",
                                         L"09:15:01.500 Process 1008 ends \"C:\\Tools\\a.exe\"",
                                         L"09:15:01.800 Process 1004 ends \"C:\\Tools\\b.exe\"",
                                         L"09:15:02.000 Process 1012 ends \"C:\\Tools\\c.exe\""}));
    EXPECT_TRUE(Children(kProgramProcessId).empty());
}

TEST_F(ProgramsTest, TheChildSearchLeavesOutOlderProcessesThatRecordTheParentsId) {
    // Processes older than the program whose recorded parents had the IDs that the program and
    // its first start have now; one of them the program may not open.
    m_test.SetJson(R"({"programs": {
        "C:\\Tools\\a.exe": {"runMs": 100, "child": "C:\\Tools\\c.exe"},
        "C:\\Tools\\c.exe": {"runMs": 100}},
      "processes": [
        {"executable": "C:\\Windows\\explorer.exe", "parentId": 1000},
        {"executable": "C:\\Windows\\System32\\csrss.exe", "parentId": 1000, "protected": true},
        {"executable": "C:\\Windows\\System32\\svchost.exe", "parentId": 4242}]})");
    for (const wchar_t* file : {L"a.exe", L"c.exe"})
        m_test.WriteFile(std::wstring(L"C:\\Tools\\") + file, "x");
    Load();
    std::unique_ptr<platform::Process> a;
    ASSERT_EQ(Start(L"C:\\Tools\\a.exe", a), win::kSuccess);
    EXPECT_EQ(a->Id(), 1000u);
    EXPECT_EQ(ChildIds(kProgramProcessId), std::vector<std::uint32_t>{1000});
    EXPECT_TRUE(Children(1000).empty());
    (void)a->WaitPumpingMessages();
    EXPECT_EQ(ChildIds(1000), std::vector<std::uint32_t>{1004});
    // An ID no process has.
    std::vector<std::unique_ptr<platform::Process>> children;
    EXPECT_EQ(Processes().FindChildren(1100, children), win::kInvalidParameter);
    // The older processes run on past the run's end.
    EXPECT_FALSE(m_machine->Save());
    EXPECT_EQ(JournalOf(*m_machine).back(), L"Process 1004 ends \"C:\\Tools\\c.exe\"");
}

class ProgramsCommandLineTest : public ProgramsTest {
protected:
    void SetUp() override {
        m_test.SetJson(R"({"programs": {
            "C:\\Program Files\\Tool\\a.exe": {},
            "C:\\Program.exe": {},
            "C:\\Tools\\setup.exe": {},
            "C:\\Tools\\locked.exe": {"failToStart": true}}})");
        for (const wchar_t* file :
             {L"C:\\Program Files\\Tool\\a.exe", L"C:\\Program.exe", L"C:\\Tools\\setup.exe",
              L"C:\\Tools\\locked.exe", L"C:\\Tools\\readme.txt", L"C:\\Tools\\sub.exe\\x"}) {
            m_test.WriteFile(file, "x");
        }
        Load();
    }
};

TEST_F(ProgramsCommandLineTest, TheProgramIsFoundAsCreateProcessFindsIt) {
    // Unquoted, the text up to each blank is tried in turn: C:\Program.exe comes first.
    EXPECT_EQ(Run(L"C:\\Program Files\\Tool\\a.exe -x"), L"\"C:\\Program.exe\"");
    EXPECT_EQ(Run(L"\"C:\\Program Files\\Tool\\a.exe\" -x"), L"\"C:\\Program Files\\Tool\\a.exe\"");
    EXPECT_EQ(Run(L"\"c:\\PROGRAM FILES\\tool\\A.EXE\""), L"\"C:\\Program Files\\Tool\\a.exe\"");
    // A folder is no candidate.
    fs::remove(m_test.Folder() / "drive_c" / "Program.exe");
    fs::create_directory(m_test.Folder() / "drive_c" / "Program.exe");
    EXPECT_EQ(Run(L"C:\\Program Files\\Tool\\a.exe -x"), L"\"C:\\Program Files\\Tool\\a.exe\"");
    // ".exe" is added to a name without an extension, quoted or not.
    EXPECT_EQ(Run(L"C:\\Tools\\setup /s /zop8"), L"\"C:\\Tools\\setup.exe\"");
    EXPECT_EQ(Run(L"\"C:\\Tools\\setup\" /s"), L"\"C:\\Tools\\setup.exe\"");
    // A relative name is looked for in the working folder.
    ASSERT_EQ(m_machine->Platform().files.SetCurrentDirectory(L"C:\\Tools"), win::kSuccess);
    EXPECT_EQ(Run(L"setup.exe /s"), L"\"C:\\Tools\\setup.exe\"");
}

TEST_F(ProgramsCommandLineTest, StartsThatFailGiveWindowsErrorsAndNoProcess) {
    std::unique_ptr<platform::Process> process;
    EXPECT_EQ(Start(L"C:\\Tools\\missing.exe /s", process), win::kFileNotFound);
    EXPECT_EQ(process, nullptr);
    EXPECT_EQ(Start(L"\"C:\\Tools\\sub.exe\"", process), win::kFileNotFound);  // a folder
    EXPECT_EQ(Start(L"\"C:\\Tools\\setup.exe /s\"", process), win::kFileNotFound);
    EXPECT_EQ(Start(L"C:\\Tools\\readme.txt", process), win::kBadExeFormat);
    EXPECT_EQ(Start(L"\"C:\\Tools\\locked.exe\" /s", process), win::kAccessDenied);
    EXPECT_EQ(process, nullptr);
    EXPECT_TRUE(Children(kProgramProcessId).empty());
    EXPECT_EQ(JournalOf(*m_machine),
              (std::vector<std::wstring>{
                  L"CreateProcess \"C:\\Tools\\missing.exe /s\" flags=134217728 -> 2",
                  L"CreateProcess \"\"\"C:\\Tools\\sub.exe\"\"\" flags=134217728 -> 2",
                  L"CreateProcess \"\"\"C:\\Tools\\setup.exe /s\"\"\" flags=134217728 -> 2",
                  L"CreateProcess \"C:\\Tools\\readme.txt\" flags=134217728 -> 193",
                  L"CreateProcess \"\"\"C:\\Tools\\locked.exe\"\" /s\" flags=134217728 -> 5"}));
}

std::string LoadError(testing::TestMachine& m, const std::string& programs) {
    m.SetJson("{\n  \"programs\": {\n" + programs + "\n  }\n}\n");
    MachineError error;
    EXPECT_EQ(Machine::Load(m.Folder(), {}, error), nullptr);
    return error.ToString().substr(m.Folder().string().size() + 1);
}

TEST(ProgramsLoadTest, ProgramsThatCannotRunAreRefusedWithTheirLine) {
    testing::TestMachine m;
    m.WriteFile(L"C:\\Tools\\a.exe", "x");
    m.WriteFile(L"C:\\Tools\\b.exe", "x");
    m.WriteFile(L"C:\\Tools\\dir.exe\\x", "x");
    EXPECT_EQ(LoadError(m, R"(    "C:\\Tools\\a.exe": {},
    "C:\\Tools\\missing.exe": {})"),
              "machine.json:4: \"programs\": program \"C:\\Tools\\missing.exe\" is not a file on "
              "the C: drive");
    EXPECT_EQ(LoadError(m, R"(    "C:\\Tools\\dir.exe": {})"),
              "machine.json:3: \"programs\": program \"C:\\Tools\\dir.exe\" is not a file on the "
              "C: drive");
    EXPECT_EQ(LoadError(m, R"(    "C:\\Tools\\a.exe": {"child": "C:\\Tools\\gone.exe"})"),
              "machine.json:3: \"programs\": program \"C:\\Tools\\a.exe\": its child "
              "\"C:\\Tools\\gone.exe\" is not a file on the C: drive");
    EXPECT_EQ(LoadError(m, R"(    "C:\\Tools\\a.exe": {"child": "C:\\Tools\\b.exe"})"),
              "machine.json:3: \"programs\": program \"C:\\Tools\\a.exe\": its child "
              "\"C:\\Tools\\b.exe\" has no entry of its own in \"programs\"");
    EXPECT_EQ(LoadError(m, R"(    "C:\\Tools\\a.exe": {"child": "c:\\tools\\B.EXE"},
    "C:\\Tools\\b.exe": {"child": "C:\\Tools\\a.exe"})"),
              "machine.json:3: \"programs\": the children of program \"C:\\Tools\\a.exe\" start "
              "one another without end");
}

TEST(ProgramsLoadTest, UnknownNamesAndWrongTypesAreRefusedWithTheirLine) {
    testing::TestMachine m;
    m.WriteFile(L"C:\\Tools\\a.exe", "x");
    EXPECT_EQ(LoadError(m,
                        "    \"C:\\\\Tools\\\\a.exe\": {\n      \"runMs\": 10,\n"
                        "      \"runTime\": 10\n    }"),
              "machine.json:5: \"programs\": program \"C:\\Tools\\a.exe\": \"runTime\" is not "
              "known (runMs, child, writeIni, deleteKeys, deleteFiles, pendingRenames, "
              "failToStart, exitCode)");
    EXPECT_EQ(LoadError(m, R"(    "C:\\Tools\\a.exe": {"runMs": "1500"})"),
              "machine.json:3: \"programs\": program \"C:\\Tools\\a.exe\": \"runMs\" must be a "
              "whole number of milliseconds");
    EXPECT_EQ(
        LoadError(m, R"(    "Tools\\a.exe": {})"),
        "machine.json:3: \"programs\": program \"Tools\\a.exe\" must be named by a full Windows "
        "path such as \"C:\\\\Folder\\\\Setup.exe\"");
    for (const char* bad :
         {R"("writeIni": [{"file": "C:\\x.ini", "section": "S", "key": "K"}])",
          R"("writeIni": [{"file": "x.ini", "section": "S", "key": "K", "value": "V"}])",
          R"("deleteKeys": ["SOFTWARE\\Maker"])", R"("deleteFiles": "C:\\x.dll")",
          R"("pendingRenames": [1])", R"("failToStart": 1)", R"("child": "b.exe")"}) {
        EXPECT_EQ(
            LoadError(m, std::string("    \"C:\\\\Tools\\\\a.exe\": {") + bad + "}").substr(0, 16),
            "machine.json:3: ")
            << bad;
    }
}

TEST(ProgramsLoadTest, OlderProcessesNeedAnExecutablePathAndAParentId) {
    for (const char* bad :
         {R"({"executable": "explorer.exe", "parentId": 1000})", R"({"executable": "C:\\x.exe"})",
          R"({"executable": "C:\\x.exe", "parentId": -1})",
          R"({"executable": "C:\\x.exe", "parentId": 1, "protected": 1})",
          R"({"executable": "C:\\x.exe", "parentId": 1, "id": 2})"}) {
        MachineConfig config;
        MachineConfigError error;
        EXPECT_FALSE(
            ParseMachineConfig(std::string("{\n\"processes\": [") + bad + "]}", config, error))
            << bad;
        EXPECT_EQ(error.line, 2u) << bad;
    }
}

TEST(ProgramsConfigTest, ARunKeepsTheProgramsAsTheyWereRead) {
    const std::string json = R"({
  "jobs": {"Office": 2},
  "programs": {
    "C:\\Tools\\a.exe": {"child": "C:\\Tools\\b.exe", "runMs": 1500,
                         "writeIni": [{"file": "C:\\x.ini", "key": "K", "section": "S",
                                       "value": "V"}]},
    "C:\\Tools\\b.exe": {"deleteFiles": ["C:\\x.dll"], "failToStart": true}
  }
})";
    MachineConfig config;
    MachineConfigError error;
    ASSERT_TRUE(ParseMachineConfig(json, config, error)) << error.message;
    config.jobs.clear();  // what a purge does
    const std::string updated = UpdateMachineConfig(json, config);
    EXPECT_EQ(updated.find("\"jobs\""), std::string::npos);

    MachineConfig again;
    ASSERT_TRUE(ParseMachineConfig(updated, again, error)) << error.message;
    ASSERT_EQ(again.programs.size(), 2u);
    const SimProgram& a = again.programs.at(L"c:\\tools\\A.EXE");
    EXPECT_EQ(a.runMs, 1500u);
    EXPECT_EQ(a.child, L"C:\\Tools\\b.exe");
    ASSERT_EQ(a.writeIni.size(), 1u);
    EXPECT_EQ(a.writeIni[0].file + a.writeIni[0].section + a.writeIni[0].key + a.writeIni[0].value,
              L"C:\\x.iniSKV");
    const SimProgram& b = again.programs.at(L"C:\\Tools\\b.exe");
    EXPECT_EQ(b.deleteFiles, std::vector<std::wstring>{L"C:\\x.dll"});
    EXPECT_TRUE(b.failToStart);
    EXPECT_EQ(WriteMachineConfig(MachineConfig{}).find("programs"), std::string::npos);
}

// The demo machine's setup programs: each utility's uninstaller run as the program runs it, and
// the scanner's setup program, leave the result the program reads and remove their product.
TEST(ProgramsDemoTest, TheDemoMachinesSetupProgramsRemoveTheirProducts) {
    testing::TestMachine m;
    fs::copy(NORVANE_SOURCE_DIR "/examples/machines/demo", m.Folder(),
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    auto machine = m.Load();
    platform::Platform& windows = machine->Platform();
    const std::wstring uninstall =
        L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
    const std::wstring iss = L"C:\\Program Files\\Halvex\\Norvane\\ISS\\";
    const auto installed = [&](const std::wstring& entry) {
        return windows.registry.OpenKey(RootKey::LocalMachine, uninstall + entry,
                                        platform::RegAccess::Read) == win::kSuccess;
    };
    // Waits for the program started and for the child it handed over to, if any.
    const auto run = [&](const std::wstring& commandLine) {
        std::unique_ptr<platform::Process> process;
        ASSERT_EQ(windows.processes.Start(commandLine, 0, process), win::kSuccess) << commandLine;
        (void)process->WaitPumpingMessages();
        std::vector<std::unique_ptr<platform::Process>> children;
        ASSERT_EQ(windows.processes.FindChildren(process->Id(), children), win::kSuccess);
        for (const auto& child : children)
            (void)child->WaitPumpingMessages();
    };
    // The result a setup program left, read and deleted as the program does.
    const auto result = [&](const std::wstring& log) {
        wchar_t code[16];
        windows.profile.GetString(L"ResponseResult", L"ResultCode", L"<missing>", code, 16, log);
        (void)windows.files.DeleteFile(log);
        return std::wstring(code);
    };
    for (const auto& [id, guid] :
         {std::pair{L"StatusMonitor", L"{6B2E4F1A-93C7-4D58-A1E2-7F30C9D4B815}"},
          std::pair{L"PrintCenter", L"{A4D7C2E9-1F6B-4E83-9C5A-2B8E07F6D341}"},
          std::pair{L"FaxAddressBook", L"{3F9A1C6D-E2B4-47A0-8D15-C6E9B2A70F58}"}}) {
        platform::RegValue command;
        ASSERT_EQ(windows.registry.QueryValue(RootKey::LocalMachine, uninstall + guid,
                                              L"UninstallString", 4096, command),
                  win::kSuccess);
        run(command.AsString() + L" /s -f1\"" + iss + id + L".iss\"");
        EXPECT_EQ(result(iss + L"setup.log"), L"0") << id;
        EXPECT_FALSE(installed(guid)) << id;
    }
    const std::wstring scanner =
        L"C:\\Program Files (x86)\\InstallShield Installation "
        L"Information\\{C81E5B3A-7D92-4F06-B4A1-5E2D9C3F6A70}\\";
    run(L"\"" + scanner + L"setup.exe\" /s /zop8");
    EXPECT_EQ(result(scanner + L"setup.log"), L"0");
    EXPECT_FALSE(installed(L"InstallShield_{C81E5B3A-7D92-4F06-B4A1-5E2D9C3F6A70}"));

    // Status Monitor's hook is in use: it goes at the restart.
    const std::wstring statusMonitor = L"C:\\Program Files (x86)\\Corvida\\Status Monitor\\";
    EXPECT_FALSE(m.Exists(statusMonitor + L"CVStatusMonitor.exe"));
    EXPECT_TRUE(m.Exists(statusMonitor + L"CVSMHOOK.DLL"));
    EXPECT_FALSE(Reboot(*machine, [](Machine&, const std::wstring&) {}));
    EXPECT_FALSE(m.Exists(statusMonitor + L"CVSMHOOK.DLL"));
}

}  // namespace
}  // namespace norvane::sim
