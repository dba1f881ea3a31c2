// A preview ("/n") runs the removal's own decisions over a layer that changes nothing: the
// machine stays as it was byte for byte, and the log lists the changes a real run of the same
// command line makes, in the same order.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <random>

#include <nlohmann/json.hpp>

#include "harness/DemoMachine.h"
#include "harness/JournalChanges.h"
#include "harness/TestMachine.h"
#include "platform/preview/PreviewFileSystem.h"
#include "support/Text.h"

namespace norvane {
namespace {

namespace fs = std::filesystem;
using testing::TestMachine;

// Every file of a machine folder with its bytes, but for what a run is meant to write: the
// journal and the log.
std::map<fs::path, std::string> Snapshot(const TestMachine& m) {
    std::map<fs::path, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(m.Folder())) {
        const fs::path relative = fs::relative(entry.path(), m.Folder());
        if (relative == "journal.log" ||
            text::EqualsNoCase(entry.path().filename().wstring(), L"Norvane.log"))
            continue;
        std::string& content = files[relative];
        if (entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            content.assign(std::istreambuf_iterator<char>(in), {});
        }
    }
    return files;
}

std::vector<std::wstring> PreviewList(const TestMachine& m, const std::wstring& log) {
    std::vector<std::wstring> list;
    for (int n = 1;; ++n) {
        const std::wstring entry = m.Ini(log, L"Preview", std::to_wstring(n).c_str());
        if (entry == L"<missing>")
            return list;
        list.push_back(entry);
    }
}

// Names as Windows compares them: the journal spells them as stored, and a folder as the
// machine names it, without the "\\" the program may end it with.
std::vector<std::wstring> Folded(std::vector<std::wstring> list) {
    for (auto& entry : list) {
        entry = text::LowerAscii(entry);
        if (entry.ends_with(L"\\"))
            entry.pop_back();
    }
    return list;
}

struct Comparison {
    std::vector<std::wstring> preview, real;  // folded: the journal spells names as stored
};

// The command line previewed on one copy of a machine and run on another.
Comparison PreviewAndRun(const std::function<void(TestMachine&)>& make,
                         const std::wstring& commandLine) {
    TestMachine previewed, real;
    make(previewed);
    make(real);
    // In front: "/u 1" counts only as the last switch.
    const auto preview = previewed.Run(L"/n " + commandLine);
    const auto run = real.Run(commandLine);
    return {Folded(PreviewList(previewed, preview.logFile)),
            Folded(testing::JournalChanges(run.journal, run.logFile))};
}

void Demo(TestMachine& m) {
    testing::CopyDemo(m);
}

TEST(PreviewTest, TheDemoMachineStaysAsItWasAndTheLogListsTheRealRunsChanges) {
    TestMachine m;
    Demo(m);
    const auto before = Snapshot(m);
    const auto preview = m.Run(L"/s /n /x Corvida Model A");
    EXPECT_EQ(Snapshot(m), before);

    TestMachine real;
    Demo(real);
    const auto run = real.Run(L"/s /x Corvida Model A");
    const auto list = PreviewList(m, preview.logFile);
    EXPECT_EQ(Folded(list), Folded(testing::JournalChanges(run.journal, run.logFile)));
    ASSERT_GT(list.size(), 6u);
    const std::wstring runOnce =
        L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
    // The work list goes first, with the continuation that finishes it; then a silent run saves
    // a printer's settings beside the log before it deletes the printer.
    EXPECT_EQ(list[0], L"RegSetValue " + runOnce + L"|norvane");
    EXPECT_EQ(list[1], L"RegSetValue HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvida|NorvaneWorkList");
    EXPECT_EQ(list[2], L"WriteFile c:\\program files\\halvex\\norvane\\Corvida Model A.bin");
    EXPECT_EQ(list[3], L"SetPrinter Corvida Model A|PRINTER_CONTROL_PURGE");
    EXPECT_EQ(list[4], L"DeletePrinter Corvida Model A");
    EXPECT_EQ(list[list.size() - 2],
              L"RegDeleteValue HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvida|NorvaneWorkList");
    EXPECT_EQ(list.back(), L"RegDeleteValue " + runOnce + L"|norvane");
    EXPECT_NE(m.Ini(preview.logFile, L"Preview", L"Assumed"), L"<missing>");
    // The same header and results as the real run's log.
    for (const auto& [section, key] : std::vector<std::pair<const wchar_t*, const wchar_t*>>{
             {L"Application", L"Name"},
             {L"UninstResult", L"Corvida Model A"},
             {L"UninstResult", L"Corvida Model A PS"},
             {L"DelPrinterResult", L"Corvida Model A"},
             {L"PrinterInfo Corvida Model A", L"PortName"}}) {
        EXPECT_EQ(m.Ini(preview.logFile, section, key), real.Ini(run.logFile, section, key))
            << section << " " << key;
    }
    EXPECT_EQ(real.Ini(run.logFile, L"Preview", L"1"), L"<missing>");
}

// Every way of designating what goes, over machines whose driver data is damaged at random.
TEST(PreviewTest, OverManyMachinesThePreviewNamesTheRealRunsChangesInOrder) {
    const std::vector<std::wstring> commands = {
        L"/s /x Corvida Model A",
        L"/s /x Corvida Model B",
        L"/s /d Corvida Model A PS,Corvida Model B",
        L"/s /p Corvida Model A (Reception),Corvida Model B",
        L"/s /p Corvida Model A /u 0",
        L"/s /t Corvida Model A Scanner,Corvida Model B Scanner",
        L"/s /d Nothing Of The Package"};
    std::mt19937 random(20261209);
    for (int n = 0; n < 48; ++n) {
        const auto damage = n < 8 ? std::vector<testing::Damage>{} : testing::RandomDamage(random);
        const std::wstring& command = commands[n % commands.size()];
        SCOPED_TRACE("machine " + std::to_string(n) + ", " + text::ToUtf8(command));
        const Comparison c = PreviewAndRun(
            [&](TestMachine& m) {
                Demo(m);
                testing::ApplyDamage(m, damage);
            },
            command);
        EXPECT_EQ(testing::Difference(c.preview, c.real), "");
    }
}

// What the spooler refuses to delete and the registry shows: the preview is refused it as the
// real run is, and goes on as the real run does.
TEST(PreviewTest, TheSpoolersRefusalsShownByTheRegistryAreForeseen) {
    const std::wstring processors =
        L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\";
    const struct {
        const char* why;
        std::wstring key;  // none: no key changes
        bool created;      // else deleted
        // A value of a printer the run keeps, which then uses the monitor's port or the print
        // processor; none: no such printer.
        const wchar_t* keptPrinterValue;
        const wchar_t* keptPrinterData;
    } table[] = {
        {"a monitor whose port a remaining printer uses is in use (3008) and is put off until a "
         "restart",
         std::wstring(testing::kDemoMonitorKey) + L"\\Ports\\CVLANG1", true, L"Port", L"CVLANG1"},
        {"a monitor with a port no printer uses goes",
         std::wstring(testing::kDemoMonitorKey) + L"\\Ports\\CVLANG1", true, nullptr, nullptr},
        {"a print processor that is not registered is unknown (1798): gone already, its file goes",
         processors + L"Windows x64\\Print Processors\\CVAPP", false, nullptr, nullptr},
        {"a print processor a remaining printer uses cannot go (1003) and its file stays", L"",
         false, L"Print Processor", L"CVAPP"},
    };
    const std::wstring keptPrinter =
        L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Kept";
    for (const auto& row : table) {
        SCOPED_TRACE(row.why);
        const Comparison c = PreviewAndRun(
            [&](TestMachine& m) {
                Demo(m);
                auto machine = m.Load();
                if (!row.key.empty() && row.created) {
                    machine->Registry().Create(row.key);
                } else if (!row.key.empty()) {
                    ASSERT_EQ(machine->Registry().DeleteTree(row.key), platform::win::kSuccess);
                }
                if (row.keptPrinterValue) {
                    sim::RegKey* printer = machine->Registry().Create(keptPrinter);
                    printer->SetValue(L"Printer Driver",
                                      platform::RegValue::String(L"Corvida Model B"));
                    printer->SetValue(L"Port", platform::RegValue::String(L"USB001"));
                    printer->SetValue(row.keptPrinterValue,
                                      platform::RegValue::String(row.keptPrinterData));
                }
                ASSERT_FALSE(machine->Save());
            },
            L"/s /x Corvida Model A");
        EXPECT_EQ(testing::Difference(c.preview, c.real), "");
    }
}

// What a preview cannot foresee: each of these makes the real run differ from its preview, and
// only by the changes the row names.
struct Unforeseeable {
    const char* why;
    const char* faults;  // machine.json "faults"
    std::wstring commandLine;
    std::vector<std::wstring> previewOnly, realOnly;  // folded
};

TEST(PreviewTest, WhatAPreviewCannotForeseeIsAllThatDiffers) {
    const std::wstring maData = L"c:\\programdata\\corvida\\drv\\cvma";
    const std::wstring norvaneKey = L"hkey_local_machine\\software\\corvida\\halvex";
    const std::wstring setupLog = L"deletefile c:\\program files\\halvex\\norvane\\iss\\setup.log";
    const std::wstring runOnce =
        L"hkey_local_machine\\software\\microsoft\\windows\\currentversion\\runonce";
    const Unforeseeable table[] = {
        {"a file another program holds open cannot be deleted, and its folder stays",
         R"({"lockedFiles": ["C:\\ProgramData\\Corvida\\Drv\\CVMA\\CVMA_UI.ini"]})",
         L"/s /x Corvida Model A",
         {L"deletefile " + maData + L"\\cvma_ui.ini", L"removedirectory " + maData},
         {}},
        {"the spooler holds a driver until a restart: it is put off, not deleted",
         R"({"drivers": {"Windows x64|Corvida Model B": {"heldUntilReboot": true}}})",
         L"/s /x Corvida Model B",
         {L"deleteprinterdriverex windows x64|corvida model b",
          L"deleteprinterdriverex windows nt x86|corvida model b",
          L"regdeletevalue " + runOnce + L"|norvane"},
         {L"regcreatekey " + norvaneKey, L"regsetvalue " + norvaneKey + L"|",
          L"regsetvalue " + norvaneKey + L"|driverstobedeleted",
          L"regsetvalue " + runOnce + L"|norvane"}},
        {"an uninstaller writes its result into setup.log, which the run then deletes; a preview "
         "starts none",
         "{}",
         L"/s /x Corvida Model A,Corvida Model B /u 1",
         {},
         {setupLog, setupLog, setupLog}},
        {"a monitor the spooler will not let go is deleted after the restart",
         R"({"monitors": {"Corvida Model A LangMon": {"deleteError": 3008}}})",
         L"/s /x Corvida Model A",
         {L"deletemonitor corvida model a langmon",
          L"deletefile c:\\windows\\system32\\cvlangmon.dll",
          L"regdeletevalue " + runOnce + L"|norvane"},
         {L"regcreatekey " + norvaneKey, L"regsetvalue " + norvaneKey + L"|",
          L"regsetvalue " + norvaneKey + L"|norvane", L"regsetvalue " + runOnce + L"|norvane"}},
    };
    for (const Unforeseeable& row : table) {
        SCOPED_TRACE(row.why);
        Comparison c = PreviewAndRun(
            [&](TestMachine& m) {
                Demo(m);
                nlohmann::json config;
                std::ifstream(m.Folder() / "machine.json") >> config;
                config["faults"] = nlohmann::json::parse(row.faults);
                m.SetJson(config.dump(2));
            },
            row.commandLine);
        auto remove = [](std::vector<std::wstring>& list, const std::vector<std::wstring>& only) {
            // The last of equal entries: the ones the two runs share come first.
            for (const auto& entry : only) {
                const auto found = std::find(list.rbegin(), list.rend(), entry);
                EXPECT_NE(found, list.rend()) << text::ToUtf8(entry);
                if (found != list.rend())
                    list.erase(std::next(found).base());
            }
        };
        remove(c.preview, row.previewOnly);
        remove(c.real, row.realOnly);
        EXPECT_EQ(testing::Difference(c.preview, c.real), "");
    }
}

// A move is recorded and its source reads as gone; the log's new content, written beside it, is
// the one file moved for real, as the log is the one file written.
TEST(PreviewTest, MovesAreRecordedButTheLogIsReplaced) {
    TestMachine m;
    m.WriteFile(L"C:\\Data\\a.txt", "a");
    m.WriteFile(L"C:\\Logs\\Norvane.log", "old");
    auto machine = m.Load();
    preview::ChangeList changes;
    preview::PreviewFileSystem files(machine->Platform().files, changes, L"C:\\Logs\\Norvane.log");
    EXPECT_EQ(files.MoveFileReplacing(L"C:\\Data\\a.txt", L"C:\\Data\\b.txt"), 0u);
    EXPECT_EQ(files.MoveFileReplacing(L"C:\\Data\\a.txt", L"C:\\Data\\b.txt"),
              platform::win::kFileNotFound);
    EXPECT_TRUE(m.Exists(L"C:\\Data\\a.txt"));
    EXPECT_FALSE(m.Exists(L"C:\\Data\\b.txt"));
    const std::wstring replacement = platform::ReplacementName(L"C:\\Logs\\Norvane.log");
    ASSERT_EQ(files.WriteFile(replacement, {'n', 'e', 'w'}, false), 0u);
    EXPECT_EQ(files.MoveFileReplacing(replacement, L"C:\\logs\\norvane.log"), 0u);
    EXPECT_EQ(m.ReadFile(L"C:\\Logs\\Norvane.log"), "new");
    EXPECT_FALSE(m.Exists(replacement));
    EXPECT_EQ(changes.Entries(),
              std::vector<std::wstring>{L"MoveFile C:\\Data\\a.txt|C:\\Data\\b.txt"});
}

}  // namespace
}  // namespace norvane
