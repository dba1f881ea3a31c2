// What a restart of Windows does to a simulated machine: pending renames, faults held until the
// restart, and the RunOnce commands, the program's own run on the same machine among them.
#include "platform/sim/Reboot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "RunProgram.h"
#include "harness/TestMachine.h"
#include "sim/SpoolerMachine.h"

namespace norvane::sim {
namespace {

using namespace std::string_literals;
using platform::RootKey;
using test::JournalOf;

constexpr wchar_t kRunOnce[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr wchar_t kSessionManager[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";

bool Contains(const std::vector<std::wstring>& entries, const std::wstring& entry) {
    return std::find(entries.begin(), entries.end(), entry) != entries.end();
}

class RebootTest : public ::testing::Test {
protected:
    Machine& Load() {
        m_machine = m_test.Load();
        return *m_machine;
    }
    void SetRunOnce(const std::wstring& name, const std::wstring& command) {
        auto& registry = m_machine->Platform().registry;
        (void)registry.CreateKey(RootKey::LocalMachine, kRunOnce, nullptr);
        (void)registry.SetValue(RootKey::LocalMachine, kRunOnce, name,
                                platform::RegValue::String(command));
    }
    // Reboots with a runner that only records the arguments it was given.
    std::vector<std::wstring> RebootRecording() {
        std::vector<std::wstring> runs;
        EXPECT_FALSE(Reboot(*m_machine, [&runs](Machine&, const std::wstring& arguments) {
            runs.push_back(arguments);
        }));
        return runs;
    }

    testing::TestMachine m_test;
    std::unique_ptr<Machine> m_machine;
};

TEST_F(RebootTest, RunOnceCommandsAreRemovedAndTheProgramRunsOnTheSameMachine) {
    m_test.InstallProgram("");
    m_test.WriteFile(L"C:\\Tools\\tool.exe", "MZ");
    m_test.WriteFile(L"C:\\Tools\\old.dat", "x");
    m_test.SetJson(
        R"({"programs": {"C:\\Tools\\tool.exe": {"runMs": 10, "deleteFiles": ["C:\\Tools\\old.dat"]}}})");
    Load();
    SetRunOnce(L"norvane", L"\"C:\\Program Files\\Halvex\\Norvane\\Norvane.exe\" -Restarted");
    SetRunOnce(L"Setup", L"C:\\Tools\\setup.exe /x");
    SetRunOnce(L"Tool", L"C:\\Tools\\tool.exe /y");
    EXPECT_FALSE(Reboot(*m_machine, [](Machine& machine, const std::wstring& arguments) {
        tools::RunProgram(machine, arguments);
    }));
    const auto journal = JournalOf(*m_machine);
    EXPECT_TRUE(Contains(journal, L"Reboot"));
    EXPECT_TRUE(Contains(
        journal, L"Run \"C:\\Program Files\\Halvex\\Norvane\\Norvane.exe\" \"-Restarted\""));
    // Other programs start as Windows starts them: one the machine does not have fails, one it
    // describes runs to its end.
    EXPECT_TRUE(Contains(journal, L"CreateProcess \"C:\\Tools\\setup.exe /x\" flags=0 -> 2"));
    EXPECT_TRUE(Contains(journal, L"Process 1000: DeleteFile \"C:\\Tools\\old.dat\""));
    EXPECT_FALSE(m_test.Exists(L"C:\\Tools\\old.dat"));

    // Saved: the values are gone for the next start too.
    std::wstring name;
    platform::RegValue value;
    EXPECT_EQ(m_test.Load()->Platform().registry.EnumValue(RootKey::LocalMachine, kRunOnce, 0, name,
                                                           value),
              platform::win::kNoMoreItems);
}

TEST_F(RebootTest, TheProgramIsKnownByItsPathQuotedOrNotInAnyCase) {
    Load();
    SetRunOnce(L"a", L"\"C:\\Program Files\\Halvex\\Norvane\\Norvane.exe\" -Restarted");
    SetRunOnce(L"b", L"c:\\program files\\halvex\\norvane\\NORVANE.EXE   /s /d Model A");
    SetRunOnce(L"c", L"C:\\Program Files\\Halvex\\Norvane\\Norvane.exe");
    SetRunOnce(L"d", L"C:\\Program Files\\Halvex\\Norvane\\Norvane.exe2 -Restarted");
    SetRunOnce(L"e", L"\"C:\\Program Files\\Halvex\\Norvane\\Norvane.exe -Restarted\"");
    EXPECT_EQ(RebootRecording(), (std::vector<std::wstring>{L"-Restarted", L"/s /d Model A", L""}));
    const auto journal = JournalOf(*m_machine);
    EXPECT_TRUE(Contains(journal,
                         L"RunOnce \"d\" \"C:\\Program Files\\Halvex\\Norvane\\Norvane.exe2 "
                         L"-Restarted\""));
    EXPECT_EQ(std::count_if(journal.begin(), journal.end(),
                            [](const auto& e) { return e.starts_with(L"RegDeleteValue "); }),
              5);
}

TEST_F(RebootTest, PendingRenamesAreCarriedOutBeforeAnyProgramRuns) {
    m_test.SetJson(R"({"faults": {"lockedFiles": ["C:\\Temp\\locked.dll"]}})");
    for (const wchar_t* file : {L"C:\\Temp\\old.dll", L"C:\\Temp\\new.dll", L"C:\\Temp\\repl.dll",
                                L"C:\\Temp\\keep.dll", L"C:\\Temp\\locked.dll"}) {
        m_test.WriteFile(file, "new");
    }
    m_test.WriteFile(L"C:\\Windows\\System32\\existing.dll", "old");
    m_test.WriteFile(L"C:\\Windows\\System32\\taken.dll", "old");
    Load();
    const std::wstring operations =
        L"\\??\\C:\\Temp\\old.dll\0\0"
        L"\\??\\C:\\Temp\\new.dll\0\\??\\C:\\Windows\\System32\\cv.dll\0"
        L"\\??\\C:\\Temp\\repl.dll\0!\\??\\C:\\Windows\\System32\\existing.dll\0"
        L"\\??\\C:\\Temp\\keep.dll\0\\??\\C:\\Windows\\System32\\taken.dll\0"
        L"\\??\\C:\\Temp\\gone.dll\0\0"
        L"\\??\\C:\\Temp\\locked.dll\0\0\0"s;
    auto& registry = m_machine->Platform().registry;
    (void)registry.CreateKey(RootKey::LocalMachine, kSessionManager, nullptr);
    (void)registry.SetValue(RootKey::LocalMachine, kSessionManager, L"PendingFileRenameOperations",
                            {platform::RegType::MultiSz, text::ToUtf16Le(operations)});
    SetRunOnce(L"norvane", L"C:\\Program Files\\Halvex\\Norvane\\Norvane.exe -Restarted");
    RebootRecording();

    EXPECT_FALSE(m_test.Exists(L"C:\\Temp\\old.dll"));
    EXPECT_EQ(m_test.ReadFile(L"C:\\Windows\\System32\\cv.dll"), "new");
    EXPECT_EQ(m_test.ReadFile(L"C:\\Windows\\System32\\existing.dll"), "new");
    EXPECT_EQ(m_test.ReadFile(L"C:\\Windows\\System32\\taken.dll"), "old");
    EXPECT_TRUE(m_test.Exists(L"C:\\Temp\\keep.dll"));
    EXPECT_FALSE(m_test.Exists(L"C:\\Temp\\locked.dll"));
    platform::RegValue left;
    EXPECT_EQ(registry.QueryValue(RootKey::LocalMachine, kSessionManager,
                                  L"PendingFileRenameOperations", 4096, left),
              platform::win::kFileNotFound);

    auto journal = JournalOf(*m_machine);
    const auto reboot = std::find(journal.begin(), journal.end(), L"Reboot");
    ASSERT_NE(reboot, journal.end());
    EXPECT_EQ(std::vector<std::wstring>(reboot + 1, reboot + 7),
              (std::vector<std::wstring>{
                  L"PendingFileRenameOperations delete \"C:\\Temp\\old.dll\"",
                  L"PendingFileRenameOperations \"C:\\Temp\\new.dll\" to "
                  L"\"C:\\Windows\\System32\\cv.dll\"",
                  L"PendingFileRenameOperations \"C:\\Temp\\repl.dll\" to "
                  L"!\"C:\\Windows\\System32\\existing.dll\"",
                  L"PendingFileRenameOperations \"C:\\Temp\\keep.dll\" to "
                  L"\"C:\\Windows\\System32\\taken.dll\" -> 183",
                  L"PendingFileRenameOperations delete \"C:\\Temp\\gone.dll\" -> 2",
                  L"PendingFileRenameOperations delete \"C:\\Temp\\locked.dll\""}));
    EXPECT_EQ(reboot[7], L"RegDeleteValue HKEY_LOCAL_MACHINE\\" + std::wstring(kSessionManager) +
                             L" \"PendingFileRenameOperations\"");
}

TEST_F(RebootTest, FaultsHeldUntilTheRestartEndAndMachineJsonSaysSo) {
    m_test.SetJson(R"({"faults": {"drivers": {
        "Windows x64|Model A": {"heldUntilReboot": true, "deleteErrors": [32]},
        "Windows NT x86|Model A": {"heldUntilReboot": true}}}})");
    Load();
    EXPECT_EQ(m_machine->Platform().spooler.DeletePrinterDriver(L"", L"Model A", 1),
              platform::win::kPrinterDriverInUse);
    RebootRecording();
    EXPECT_TRUE(Contains(JournalOf(*m_machine),
                         L"Spooler started: driver \"Windows NT x86|Model A\" is free"));
    std::ifstream in(m_test.Folder() / "machine.json", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), R"({
  "faults": {
    "drivers": {
      "Windows x64|Model A": {
        "deleteErrors": [
          32
        ]
      }
    }
  }
}
)");
    // The queued error still comes first after the restart.
    EXPECT_EQ(m_test.Load()->Platform().spooler.DeletePrinterDriver(L"", L"Model A", 1),
              platform::win::kSharingViolation);
}

}  // namespace
}  // namespace norvane::sim
