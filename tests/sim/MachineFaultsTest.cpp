// machine.json "faults": reading and checking them, writing back what a run used up, and locked
// files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "harness/TestMachine.h"
#include "platform/sim/Machine.h"
#include "platform/sim/MachineConfig.h"

namespace norvane::sim {
namespace {

namespace win = platform::win;

std::string ReadText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string ParseError(const std::string& json) {
    MachineConfig config;
    MachineConfigError error;
    EXPECT_FALSE(ParseMachineConfig(json, config, error));
    return std::to_string(error.line) + ": " + error.message;
}

TEST(MachineFaultsTest, FaultsAreReadByTheirNames) {
    MachineConfig config;
    MachineConfigError error;
    ASSERT_TRUE(ParseMachineConfig(R"({
      "faults": {
        "drivers":   { "Windows x64|Model A": { "deleteErrors": [32, 32], "heldUntilReboot": false },
                       "windows nt x86|Model A": { "heldUntilReboot": true } },
        "printers":  { "Office": { "deleteError": 5 } },
        "monitors":  { "Model A LangMon": { "deleteError": 3008 } },
        "printProcessors": { "MODAPP": { "deleteError": 5 } },
        "lockedFiles": [ "C:\\ProgramData\\Halvex\\Drv\\MODA\\cache.dat" ],
        "readOnlyFiles": [ "C:\\Setup\\setup.log" ],
        "readOnlyKeys": [ "HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvida" ]
      },
      "jobs": { "Office": 3 }
    })",
                                   config, error))
        << error.message;
    MachineFaults& faults = config.faults;
    ASSERT_NE(faults.Driver(L"Windows x64", L"MODEL A"), nullptr);
    EXPECT_EQ(faults.Driver(L"Windows x64", L"Model A")->deleteErrors,
              (std::deque<platform::WinError>{32, 32}));
    EXPECT_TRUE(faults.Driver(L"Windows NT x86", L"Model A")->heldUntilReboot);
    EXPECT_EQ(faults.Driver(L"Windows x64", L"Model B"), nullptr);
    EXPECT_EQ(faults.printers.at(L"office"), 5u);
    EXPECT_EQ(faults.monitors.at(L"Model A LangMon"), 3008u);
    EXPECT_EQ(faults.printProcessors.at(L"MODAPP"), 5u);
    EXPECT_EQ(faults.lockedFiles,
              (std::vector<std::wstring>{L"C:\\ProgramData\\Halvex\\Drv\\MODA\\cache.dat"}));
    EXPECT_EQ(faults.readOnlyFiles, (std::vector<std::wstring>{L"C:\\Setup\\setup.log"}));
    EXPECT_EQ(faults.readOnlyKeys,
              (std::vector<std::wstring>{L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvida"}));
    EXPECT_EQ(config.jobs.at(L"Office"), 3u);

    EXPECT_EQ(faults.EndHeldUntilReboot(), (std::vector<std::wstring>{L"windows nt x86|Model A"}));
    EXPECT_FALSE(faults.Driver(L"Windows NT x86", L"Model A")->heldUntilReboot);
}

TEST(MachineFaultsTest, BadFaultsAreReportedWithTheirLine) {
    EXPECT_EQ(ParseError("{\n \"faults\": [1]\n}"),
              "2: \"faults\" must be an object of drivers, printers, busyPrinters, monitors, "
              "printProcessors, lockedFiles, readOnlyFiles, readOnlyKeys and spoolerStopped");
    EXPECT_EQ(ParseError("{\n \"faults\": {\n  \"ports\": {}\n }\n}"),
              "3: \"faults\": \"ports\" is not a fault this machine knows (drivers, printers, "
              "busyPrinters, monitors, printProcessors, lockedFiles, readOnlyFiles, "
              "readOnlyKeys, spoolerStopped)");
    EXPECT_EQ(ParseError("{\"faults\": {\n\"spoolerStopped\": 1}}"),
              "2: \"faults\": \"spoolerStopped\" must be true or false");
    EXPECT_EQ(ParseError("{\"faults\": {\n \"busyPrinters\": {\"Office\": \"jammed\"}}}"),
              "2: \"faults\": printer \"Office\" must be \"printing\" or \"otherHandleOpen\"");
    EXPECT_EQ(ParseError("{\"faults\": {\n \"readOnlyKeys\": [\"SOFTWARE\\\\Corvida\"]}}"),
              "2: \"faults\": \"readOnlyKeys\" must list registry keys below a root, such as "
              "\"HKEY_LOCAL_MACHINE\\\\SOFTWARE\\\\Corvida\"");
    EXPECT_EQ(ParseError("{\"jobs\": {\"Model A\": 1},\n \"faults\": {\"drivers\": {\n"
                         "  \"Model A\": {}}}}"),
              "3: \"faults\": driver \"Model A\" must be named \"<environment>|<driver name>\" "
              "with the environment \"Windows x64\" or \"Windows NT x86\"");
    EXPECT_EQ(ParseError("{\"faults\": {\"drivers\": {\"Windows x64|A\": {\n"
                         "  \"deleteErrors\": [32, 0]}}}}"),
              "2: \"faults\": driver \"Windows x64|A\": \"deleteErrors\" must list error codes "
              "(whole numbers from 1 to 4294967295)");
    EXPECT_EQ(ParseError("{\"faults\": {\"drivers\": {\"Windows x64|A\": {\n"
                         "  \"heldUntilReboot\": 1}}}}"),
              "2: \"faults\": driver \"Windows x64|A\": \"heldUntilReboot\" must be true or false");
    EXPECT_EQ(ParseError("{\"faults\": {\"drivers\": {\"Windows x64|A\": {\n\n"
                         "  \"deleteError\": 5}}}}"),
              "3: \"faults\": driver \"Windows x64|A\": \"deleteError\" is not known "
              "(deleteErrors, heldUntilReboot)");
    EXPECT_EQ(ParseError("{\"faults\": {\"printers\": {\n"
                         "  \"Office\": {\"deleteError\": 5, \"x\": 1}}}}"),
              "2: \"faults\": printer \"Office\" must be { \"deleteError\": <error code from 1 to "
              "4294967295> }");
    EXPECT_EQ(ParseError("{\"faults\": {\n\"printProcessors\": {\"MODAPP\": 5}}}"),
              "2: \"faults\": print processor \"MODAPP\" must be { \"deleteError\": <error code "
              "from 1 to 4294967295> }");
    EXPECT_EQ(ParseError("{\"faults\": {\n\"monitors\": []}}"),
              "2: \"faults\": \"monitors\" must map names to { \"deleteError\": <error code> }");
    EXPECT_EQ(ParseError("{\"faults\": {\n\"lockedFiles\": [\"cache.dat\"]}}"),
              "2: \"faults\": \"lockedFiles\" must list full Windows paths such as "
              "\"C:\\\\Folder\\\\File.dat\"");
}

TEST(MachineFaultsTest, WhatARunUsesUpIsWrittenBackSortedAndNothingElse) {
    testing::TestMachine m;
    m.SetJson(R"({"localTime": "2026-03-02T09:15:00", "jobs": {"Office": 2, "Lobby": 1},
      "faults": {"lockedFiles": ["C:\\x.dat"],
                 "drivers": {"Windows x64|Model A": {"deleteErrors": [32, 5]},
                             "Windows x64|Model B": {"deleteErrors": [32]}}}})");
    m.SetRegistry(
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\"
        "Office]\r\n\r\n");
    {
        auto machine = m.Load();
        auto& spooler = machine->Platform().spooler;
        EXPECT_EQ(spooler.DeletePrinterDriver(L"", L"Model A", 1), win::kSharingViolation);
        EXPECT_EQ(spooler.DeletePrinterDriver(L"", L"Model B", 1), win::kSharingViolation);
        std::unique_ptr<platform::Printer> office;
        ASSERT_EQ(spooler.OpenPrinter(L"Office", platform::kPrinterAllAccess, office), 0u);
        ASSERT_EQ(office->Control(platform::kPrinterControlPurge), 0u);
        EXPECT_FALSE(machine->Save());
    }
    EXPECT_EQ(ReadText(m.Folder() / "machine.json"), R"({
  "faults": {
    "drivers": {
      "Windows x64|Model A": {
        "deleteErrors": [
          5
        ]
      }
    },
    "lockedFiles": [
      "C:\\x.dat"
    ]
  },
  "jobs": {
    "Lobby": 1
  },
  "localTime": "2026-03-02T09:15:00"
}
)");
    // The next run starts where this one ended.
    EXPECT_EQ(m.Load()->Platform().spooler.DeletePrinterDriver(L"", L"Model A", 1),
              win::kAccessDenied);
}

TEST(MachineFaultsTest, MachineJsonARunDoesNotChangeIsLeftAsWritten) {
    testing::TestMachine m;
    const std::string json =
        "{ \"jobs\": {\"Office\": 2},\n  \"faults\": {\"printers\": {\"Office\": "
        "{\"deleteError\": 5}}} }";
    m.SetJson(json);
    m.SetRegistry(
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\"
        "Office]\r\n\r\n");
    auto machine = m.Load();
    std::unique_ptr<platform::Printer> office;
    ASSERT_EQ(machine->Platform().spooler.OpenPrinter(L"Office", 0, office), 0u);
    EXPECT_EQ(office->Delete(), win::kAccessDenied);
    EXPECT_FALSE(machine->Save());
    EXPECT_EQ(ReadText(m.Folder() / "machine.json"), json);
}

TEST(MachineFaultsTest, LockedFileCannotBeDeletedNorItsFolderRemoved) {
    testing::TestMachine m;
    m.SetJson(R"({"faults": {"lockedFiles": ["C:\\ProgramData\\Halvex\\CVMA\\cache.dat"]}})");
    m.WriteFile(L"C:\\ProgramData\\Halvex\\CVMA\\CACHE.DAT", "x");
    m.WriteFile(L"C:\\ProgramData\\Halvex\\CVMA\\other.dat", "x");
    auto machine = m.Load();
    auto& files = machine->Platform().files;
    ASSERT_EQ(files.SetCurrentDirectory(L"C:\\ProgramData\\Halvex"), 0u);
    EXPECT_EQ(files.DeleteFile(L"cvma/Cache.dat"), win::kSharingViolation);
    EXPECT_EQ(files.DeleteFile(L"C:\\ProgramData\\Halvex\\CVMA\\cache.dat"),
              win::kSharingViolation);
    EXPECT_EQ(files.SetAttributes(L"CVMA\\cache.dat", platform::kFileAttributeNormal), 0u);
    EXPECT_EQ(files.DeleteFile(L"CVMA\\cache.dat"), win::kSharingViolation);
    EXPECT_EQ(files.DeleteFile(L"CVMA\\other.dat"), 0u);
    EXPECT_EQ(files.RemoveDirectory(L"CVMA"), win::kDirNotEmpty);
    EXPECT_TRUE(m.Exists(L"C:\\ProgramData\\Halvex\\CVMA\\cache.dat"));
    EXPECT_EQ(machine->JournalLog().Entries()[1].substr(24),
              L"DeleteFile \"C:\\ProgramData\\Halvex\\CVMA\\CACHE.DAT\" -> 32 (locked)");
}

// A read-only file reads, and every call that would change it fails with 5, the profile writer's
// included; the file stays as it was. A file beside it is not touched.
TEST(MachineFaultsTest, ReadOnlyFileReadsButRefusesEveryChange) {
    testing::TestMachine m;
    m.SetJson(R"({"faults": {"readOnlyFiles": ["C:\\Share\\setup.log"]}})");
    m.WriteFile(L"C:\\Share\\SETUP.LOG", "[ResponseResult]\r\nResultCode=0\r\n");
    m.WriteFile(L"C:\\Share\\other.log", "x");
    auto machine = m.Load();
    platform::Platform& p = machine->Platform();
    const std::wstring file = L"C:\\share\\setup.log";
    const std::vector<std::pair<const char*, std::function<platform::WinError()>>> changes = {
        {"DeleteFile", [&] { return p.files.DeleteFile(file); }},
        {"WriteFile", [&] { return p.files.WriteFile(file, {'x'}, false); }},
        {"AppendFile", [&] { return p.files.WriteFile(file, {'x'}, true); }},
        {"SetAttributes",
         [&] { return p.files.SetAttributes(file, platform::kFileAttributeNormal); }},
        {"MoveFile onto it",
         [&] { return p.files.MoveFileReplacing(L"C:\\Share\\other.log", file); }},
        {"MoveFile from it",
         [&] { return p.files.MoveFileReplacing(file, L"C:\\Share\\new.log"); }},
        {"WriteString",
         [&] { return p.profile.WriteString(L"ResponseResult", L"ResultCode", L"1", file); }},
        {"WriteSection",
         [&] { return p.profile.WriteSection(L"ResponseResult", L"ResultCode=1\0", file); }},
        {"WriteSections",
         [&] {
             return p.profile.WriteSections({{L"ResponseResult", L"ResultCode=1"}}, file);
         }},
    };
    for (const auto& [what, change] : changes) {
        SCOPED_TRACE(what);
        EXPECT_EQ(change(), win::kAccessDenied);
        EXPECT_EQ(p.profile.GetInt(L"ResponseResult", L"ResultCode", 99, file), 0u);
    }
    std::uint32_t attributes = 0;
    ASSERT_EQ(p.files.GetAttributes(file, attributes), 0u);
    EXPECT_EQ(attributes & platform::kFileAttributeReadOnly, platform::kFileAttributeReadOnly);
    EXPECT_TRUE(m.Exists(L"C:\\Share\\other.log"));
    EXPECT_EQ(p.files.DeleteFile(L"C:\\Share\\other.log"), 0u);
}

// MoveFileExW with MOVEFILE_REPLACE_EXISTING: the source takes the target's place as one change;
// a missing source and a folder in the way are refused, and so is a locked file.
TEST(MachineFaultsTest, MoveReplacesTheTargetInOneChange) {
    testing::TestMachine m;
    m.SetJson(R"({"faults": {"lockedFiles": ["C:\\Logs\\held.log"]}})");
    m.WriteFile(L"C:\\Logs\\Norvane.log", "old");
    m.WriteFile(L"C:\\Logs\\Norvane.log.new", "new");
    m.WriteFile(L"C:\\Logs\\held.log", "held");
    m.WriteFile(L"C:\\Logs\\Folder\\x", "");
    auto machine = m.Load();
    auto& files = machine->Platform().files;
    EXPECT_EQ(files.MoveFileReplacing(L"C:\\Logs\\missing", L"C:\\Logs\\Norvane.log"),
              win::kFileNotFound);
    EXPECT_EQ(files.MoveFileReplacing(L"C:\\Logs\\Norvane.log.new", L"C:\\Logs\\Folder"),
              win::kAccessDenied);
    EXPECT_EQ(files.MoveFileReplacing(L"C:\\Logs\\Norvane.log.new", L"C:\\Logs\\held.log"),
              win::kSharingViolation);
    EXPECT_EQ(machine->JournalLog().Changes().Count(), 0u);
    EXPECT_EQ(files.MoveFileReplacing(L"C:\\Logs\\Norvane.log.new", L"C:\\logs\\norvane.log"), 0u);
    EXPECT_EQ(machine->JournalLog().Changes().Count(), 1u);
    EXPECT_EQ(m.ReadFile(L"C:\\Logs\\Norvane.log"), "new");
    EXPECT_FALSE(m.Exists(L"C:\\Logs\\Norvane.log.new"));
    EXPECT_EQ(machine->JournalLog().Entries().back().substr(24),
              L"MoveFile \"C:\\Logs\\Norvane.log.new\" \"C:\\Logs\\Norvane.log\"");
}

}  // namespace
}  // namespace norvane::sim
