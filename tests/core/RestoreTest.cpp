// Printers re-created after a removal: a whole series of the demo machine brought back with a
// newer package that renamed its drivers, and the damaged or hostile entries a log may hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include <nlohmann/json.hpp>

#include "harness/NewerPackage.h"
#include "harness/PrintSetup.h"
#include "harness/TestMachine.h"
#include "inventory/IniAcc.h"
#include "platform/sim/RegistryKeys.h"
#include "platform/sim/SimSpooler.h"
#include "restore/RestoreProgram.h"
#include "restore/SavedPrinters.h"
#include "support/Text.h"

namespace norvane::testing {
namespace {

namespace fs = std::filesystem;
using platform::RootKey;

const fs::path kDemo = fs::path(NORVANE_SOURCE_DIR) / "examples/machines/demo";
const std::wstring kPrinters = std::wstring(sim::kPrintPath) + L"\\Printers\\";
const std::wstring kLogFolder = L"C:\\Program Files\\Halvex\\Norvane\\";

struct Restore {
    int code = 0;
    std::vector<std::wstring> lines;
    std::vector<std::wstring> errors;  // standard error's
    std::vector<std::wstring> journal;
};

Restore RunRestore(TestMachine& test, const std::vector<std::wstring>& args) {
    auto machine = test.Load();
    Restore run;
    run.code = restore::RunRestore(machine->Platform(), args, run.lines, run.errors);
    if (const auto failed = machine->Save())
        throw std::runtime_error(failed->ToString());
    for (const auto& entry : machine->JournalLog().Entries())
        run.journal.push_back(WithoutStamp(entry));
    return run;
}

// A printer as the spooler keeps it: the values a restore must bring back.
struct PrinterState {
    std::wstring driver, port, share, processor;
    std::vector<std::uint8_t> devmode;
    bool operator==(const PrinterState&) const = default;
};

std::map<std::wstring, PrinterState> Printers(TestMachine& test) {
    auto machine = test.Load();
    auto& registry = machine->Platform().registry;
    std::map<std::wstring, PrinterState> printers;
    for (const auto& name : sim::SubkeyNames(registry, RootKey::LocalMachine, kPrinters)) {
        sim::KeyValues key;
        sim::ReadValues(registry, RootKey::LocalMachine, kPrinters + name, key);
        const auto* devmode = key.Find(L"Default DevMode");
        printers[name] = {key.String(L"Printer Driver"), key.String(L"Port"),
                          key.String(L"Share Name"), key.String(L"Print Processor"),
                          devmode ? devmode->data : std::vector<std::uint8_t>{}};
    }
    return printers;
}

std::wstring DefaultPrinter(TestMachine& test) {
    auto machine = test.Load();
    std::wstring name;
    (void)machine->Platform().spooler.GetDefaultPrinter(name);
    return name;
}

std::string ReadHostFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

TEST(RestoreTest, ASeriesComesBackWithTheNewerPackagesDrivers) {
    TestMachine test;
    test.CopyFrom(kDemo);
    const auto before = Printers(test);
    ASSERT_EQ(DefaultPrinter(test), L"Corvida Model A");

    test.Run(L"/s /x Corvida Model A");
    const std::vector<std::wstring> series = {L"Corvida Model A", L"Corvida Model A (Reception)",
                                              L"Corvida Model A Fax", L"Corvida Model A PS"};
    for (const auto& name : series)
        ASSERT_FALSE(Printers(test).contains(name)) << text::ToUtf8(name);

    const std::vector<std::pair<std::wstring, std::wstring>> renamed = {
        {L"Corvida Model A", L"Corvida Model A v2"},
        {L"Corvida Model A PS", L"Corvida Model A PS v2"},
        {L"Corvida Model A Fax", L"Corvida Model A Fax v2"}};
    InstallNewerPackage(test, kDemo, renamed);
    std::vector<std::wstring> args;
    for (const auto& [from, to] : renamed)
        args.insert(args.end(), {L"/m", from + L"=" + to});

    // A dry run tells and changes nothing.
    const auto registryBefore = ReadHostFile(test.Folder() / "registry.reg");
    const auto logBefore = test.ReadFile(std::wstring(kLogFolder) + L"Norvane.log");
    auto dryArgs = args;
    dryArgs.push_back(L"/n");
    const auto dry = RunRestore(test, dryArgs);
    EXPECT_EQ(dry.code, 0);
    EXPECT_EQ(ReadHostFile(test.Folder() / "registry.reg"), registryBefore);
    EXPECT_EQ(test.ReadFile(std::wstring(kLogFolder) + L"Norvane.log"), logBefore);
    ASSERT_EQ(dry.lines.size(), series.size() + 1);
    EXPECT_NE(dry.lines[0].find(L"would be created"), std::wstring::npos);

    const auto first = RunRestore(test, args);
    std::wstring report;
    for (const auto& line : first.lines)
        report += line + L"\n";
    EXPECT_EQ(first.code, 0) << text::ToUtf8(report);
    const auto after = Printers(test);
    for (const auto& name : series) {
        SCOPED_TRACE(text::ToUtf8(name));
        ASSERT_TRUE(after.contains(name));
        PrinterState expected = before.at(name);
        expected.driver += L" v2";
        EXPECT_EQ(after.at(name), expected);
        EXPECT_EQ(
            test.Ini(std::wstring(kLogFolder) + L"Norvane.log", L"RestoreResult", name.c_str()),
            L"0");
    }
    EXPECT_EQ(DefaultPrinter(test), L"Corvida Model A");

    // A second restore finds every printer there and changes nothing of the machine.
    const auto registryRestored = ReadHostFile(test.Folder() / "registry.reg");
    const auto second = RunRestore(test, args);
    EXPECT_EQ(second.code, 0);
    EXPECT_EQ(ReadHostFile(test.Folder() / "registry.reg"), registryRestored);
    for (const auto& entry : second.journal)
        EXPECT_FALSE(entry.starts_with(L"AddPrinter") || entry.starts_with(L"SetPrinter") ||
                     entry.starts_with(L"SetDefaultPrinter"))
            << text::ToUtf8(entry);
    EXPECT_NE(second.lines[0].find(L"exists already"), std::wstring::npos);
}

// Windows runs the program as it was started: without the rights, it says so on standard error
// and ends before it changes anything. Its help needs no rights.
TEST(RestoreTest, WithoutAdministratorRightsItTellsAndTouchesNothing) {
    TestMachine test;
    test.CopyFrom(kDemo);
    test.Run(L"/s /x Corvida Model A");
    const std::string machineJson = ReadHostFile(test.Folder() / "machine.json");
    const auto registryBefore = ReadHostFile(test.Folder() / "registry.reg");
    const auto logBefore = test.ReadFile(kLogFolder + L"Norvane.log");
    for (const char* token : {"false", "\"filtered\""}) {
        SCOPED_TRACE(token);
        auto config = nlohmann::json::parse(machineJson);
        config["administrator"] = nlohmann::json::parse(token);
        test.SetJson(config.dump(2));
        const auto run = RunRestore(test, {});
        EXPECT_EQ(run.code, restore::kNotAdministrator);
        EXPECT_TRUE(run.lines.empty());
        ASSERT_EQ(run.errors.size(), 1u);
        EXPECT_NE(run.errors[0].find(L"administrator rights"), std::wstring::npos);
        EXPECT_EQ(ReadHostFile(test.Folder() / "registry.reg"), registryBefore);
        EXPECT_EQ(test.ReadFile(kLogFolder + L"Norvane.log"), logBefore);
        EXPECT_EQ(RunRestore(test, {L"/?"}).code, 0);
    }
}

// A DEVMODE of the simulated drivers' layout: public part of 220 bytes and a private part
// filled with `mark`, and a device name (its first 31 characters) when one is given.
std::string DevMode(std::size_t privateBytes, std::uint16_t specVersion = 0x0401,
                    const std::wstring& device = L"", char mark = 0) {
    std::string devmode(220 + privateBytes, mark);
    std::fill(devmode.begin(), devmode.begin() + 220, '\0');
    const auto name = text::ToUtf16Le(device);
    std::copy(name.begin(),
              name.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(name.size(), 62)),
              devmode.begin());
    devmode[64] = static_cast<char>(specVersion & 0xFF);
    devmode[65] = static_cast<char>(specVersion >> 8);
    devmode[68] = static_cast<char>(220);
    devmode[70] = static_cast<char>(privateBytes);
    return devmode;
}

// One "PrinterInfo" entry of a hand-made log and what its restore must give.
struct DamagedCase {
    const char* what;
    std::wstring name;
    std::wstring driver;
    std::wstring port;
    std::wstring devmodeKey;  // the log's DEVMODE value
    std::string binFile;      // written as <name>.bin when not empty
    int code;
    bool created;
    bool settingsApplied;
    const wchar_t* detail;  // a part of the detail text
};

TEST(RestoreTest, DamagedAndHostileEntriesAreReportedAndTheOthersGoOn) {
    const DamagedCase cases[] = {
        {"restored", L"Good", L"Old Model", L"LPT1:", L"Good.bin", DevMode(8), 0, true, true,
         L"saved settings applied"},
        {"driver missing", L"NoDriver", L"Gone Model", L"LPT1:", L"NoDriver.bin", DevMode(8), 4,
         false, false, L"\"Gone Model\" is not installed"},
        {"port missing", L"NoPort", L"Old Model", L"USB009", L"NoPort.bin", DevMode(8), 4, false,
         false, L"port \"USB009\" does not exist"},
        {"exists", L"Office", L"Old Model", L"LPT1:", L"Office.bin", DevMode(8), 0, true, false,
         L"exists already"},
        {"settings cut short", L"Cut", L"Old Model", L"LPT1:", L"Cut.bin",
         DevMode(8).substr(0, 200), 0, true, false, L"holds no whole DEVMODE"},
        {"settings of another layout", L"Other", L"Old Model", L"LPT1:", L"Other.bin",
         DevMode(8, 0x0300), 0, true, false, L"does not take the saved ones"},
        {"settings larger than any DEVMODE can be", L"Huge", L"Old Model", L"LPT1:", L"Huge.bin",
         std::string(2 * 0xFFFF + 1, '\0'), 0, true, false, L"larger than any"},
        {"no settings file", L"NoBin", L"Old Model", L"LPT1:", L"NoBin.bin", "", 0, true, false,
         L"cannot be read"},
        {"no settings saved", L"Unsaved", L"Old Model", L"LPT1:", L"", "", 0, true, false,
         L"saved no settings"},
        {"settings outside the folder", L"Escape", L"Old Model", L"LPT1:",
         L"..\\..\\..\\Windows\\win.bin", "", 0, true, false, L"no .bin file of the log folder"},
        {"settings named by a full path", L"Full", L"Old Model", L"LPT1:", L"C:\\Full.bin", "", 0,
         true, false, L"no .bin file of the log folder"},
        {"settings not a .bin", L"Log", L"Old Model", L"LPT1:", L"Norvane.log", "", 0, true, false,
         L"no .bin file of the log folder"},
        {"settings named after the driver", L"ByDriver", L"Old Model", L"LPT1:", L"ByDriver.bin",
         DevMode(8, 0x0401, L"Old Model"), 0, true, true, L"saved settings applied"},
        // Logs of earlier versions gave "Front:1" and "Front?1" one file, the second printer's.
        {"shared file of an old log, the other printer's", L"Front:1", L"Old Model", L"LPT1:",
         L"Front_1.bin", DevMode(8, 0x0401, L"Front?1"), 0, true, false,
         L"holds the settings of another printer"},
        {"shared file of an old log, its own", L"Front?1", L"Old Model", L"LPT1:", L"Front_1.bin",
         DevMode(8, 0x0401, L"Front?1"), 0, true, true, L"saved settings applied"},
        {"another printer's file", L"Thief", L"Old Model", L"LPT1:", L"Good.bin", "", 0, true,
         false, L"not the one the removal wrote for this printer"},
        {"name with a path", L"..\\..\\Evil", L"Old Model", L"LPT1:", L"", "", 1, false, false,
         L"did not add it: 1801:The printer name is invalid."},
        {"connection", L"\\\\server\\Queue", L"Old Model", L"LPT1:", L"", "", 1, false, false,
         L"connection"},
    };
    TestMachine test;
    test.InstallProgram(ConfigIni({"Old Model"}));
    PrintSetup(test)
        .Driver(PlainDriver("New Model", "NEWM_UI.DLL", {"NEWM.DLL"}))
        .PrintProcessor("winprint")
        .Printer("Office", "New Model", "LPT1:")
        .Registry(
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports]\r\n"
            "\"LPT1:\"=\"\"\r\n\r\n")
        .Install("");
    std::wstring log = L"[PrinterInfo Unrelated]\r\n";  // a section the log file holds already
    for (const auto& c : cases) {
        log += L"[PrinterInfo " + c.name + L"]\r\nPortName=" + c.port + L"\r\nDriverName=" +
               c.driver + L"\r\nShareName=\r\nDefault=0\r\nDEVMODE=" + c.devmodeKey + L"\r\n";
        if (!c.binFile.empty())
            test.WriteFile(kLogFolder + c.devmodeKey, c.binFile);
    }
    test.WriteFile(kLogFolder + L"Norvane.log", text::ToUtf8(log));
    const auto before = Printers(test);

    const auto run = RunRestore(test, {L"/m", L"old model=New Model"});
    EXPECT_EQ(run.code, 1);
    const auto after = Printers(test);
    ASSERT_EQ(run.lines.size(), std::size(cases) + 1);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const DamagedCase& c = cases[i];
        SCOPED_TRACE(c.what);
        const std::wstring result =
            test.Ini(kLogFolder + L"Norvane.log", L"RestoreResult", c.name.c_str());
        EXPECT_EQ(result, text::Decimal(c.code));
        EXPECT_EQ(after.contains(c.name), c.created);
        EXPECT_NE(run.lines[i + 1].find(c.detail), std::wstring::npos)
            << text::ToUtf8(run.lines[i + 1]);
        // One line a printer, and the log holds the same detail (a system message ends without its
        // line break in both).
        EXPECT_EQ(run.lines[i + 1],
                  c.name + L": " +
                      test.Ini(kLogFolder + L"Norvane.log", L"RestoreDetail", c.name.c_str()));
        EXPECT_EQ(run.lines[i + 1].find_first_of(L"\r\n"), std::wstring::npos);
        if (c.created && !before.contains(c.name)) {
            const PrinterState& made = after.at(c.name);
            EXPECT_EQ(made.driver, L"New Model");
            EXPECT_EQ(made.processor, L"winprint");
            const std::vector<std::uint8_t> bin(c.binFile.begin(), c.binFile.end());
            // Settings not applied leave the printer with its driver's defaults: no DEVMODE of
            // its own.
            EXPECT_EQ(made.devmode, c.settingsApplied ? bin : std::vector<std::uint8_t>{});
        }
    }
    EXPECT_EQ(after.at(L"Office"), before.at(L"Office"));
    // Nothing was written outside the log folder for the hostile names.
    EXPECT_FALSE(test.Exists(L"C:\\Evil.bin"));
}

// A printer of a name row, and whether its backup keeps the names earlier versions gave it: the
// settings file "<name>.bin" and the section "PrinterInfo <name>".
struct BackupName {
    std::wstring name;
    bool ownFile;
    bool ownSection;
};

// Printers whose names the safe file name makes one, that differ only in case, or that the
// profile functions would change: each printer's backup must stay its own through a removal and a
// restore.
TEST(RestoreTest, EveryPrinterGetsItsOwnBackupWhateverItsName) {
    const std::wstring longSafe(220, L'L');
    const std::wstring longUnsafe = L"Long:" + std::wstring(215, L'n');
    const struct {
        const char* what;
        std::vector<BackupName> printers;
    } rows[] = {
        {"a safe name", {{L"Office", true, true}}},
        {": and ?", {{L"Front:1", false, true}, {L"Front?1", false, true}}},
        {"* and |", {{L"Front*1", false, true}, {L"Front|1", false, true}}},
        // The spooler lists "BÜRO" first; a file system and the profile functions take the two
        // names for one.
        {"only case, beyond A to Z", {{L"B\u00FCro", false, false}, {L"B\u00DCRO", true, true}}},
        {"a trailing blank beside the name without",
         {{L"Trail", true, true}, {L"Trail ", true, false}}},
        {"leading blanks", {{L"  Lead", false, false}}},
        {"inner double blanks", {{L"Inner  Double", true, true}}},
        {"brackets", {{L"Br[ack]et", true, false}}},
        {"220 characters, safe", {{longSafe, true, true}}},
        {"220 characters with a colon", {{longUnsafe, false, true}}},
    };
    const std::wstring log = kLogFolder + L"Norvane.log";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        TestMachine original;
        PrintSetup setup(original);
        setup.Driver(PlainDriver("Old Model", "OLDM_UI.DLL", {"OLDM.DLL"}))
            .PrintProcessor("winprint")
            .Registry(
                "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports]"
                "\r\n\"LPT1:\"=\"\"\r\n\r\n");
        std::vector<std::string> devmodes;
        for (const auto& printer : row.printers) {
            devmodes.push_back(
                DevMode(8, 0x0401, printer.name, static_cast<char>(devmodes.size())));
            setup.Printer(text::ToUtf8(printer.name), "Old Model", "LPT1:", "winprint",
                          devmodes.back());
        }
        setup.Install(ConfigIni({"Old Model"}));
        TestMachine test;
        test.CopyFrom(original.Folder());

        test.Run(L"/s /d Old Model");
        std::vector<restore::SavedPrinter> saved;
        {
            auto machine = test.Load();
            saved = restore::ReadSavedPrinters(machine->Platform(), log);
        }
        const auto removed = Printers(test);
        ASSERT_EQ(saved.size(), row.printers.size());
        for (std::size_t i = 0; i < row.printers.size(); ++i) {
            const BackupName& printer = row.printers[i];
            SCOPED_TRACE(text::ToUtf8(printer.name));
            EXPECT_FALSE(removed.contains(printer.name));
            const auto entry = std::find_if(saved.begin(), saved.end(), [&](const auto& s) {
                return s.printerName == printer.name;
            });
            ASSERT_NE(entry, saved.end());
            const std::wstring section = L"PrinterInfo " + entry->sectionName;
            EXPECT_EQ(entry->sectionName == printer.name, printer.ownSection);
            EXPECT_EQ(test.Ini(log, section.c_str(), L"DriverName"), L"Old Model");
            const std::wstring file = test.Ini(log, section.c_str(), L"DEVMODE");
            EXPECT_EQ(file == printer.name + L".bin", printer.ownFile) << text::ToUtf8(file);
            EXPECT_EQ(test.Ini(log, section.c_str(), L"SettingsFile"), file);
            EXPECT_LT(text::Utf16Length(kLogFolder + file), 260u);
            EXPECT_EQ(test.ReadFile(kLogFolder + file), devmodes[i]);
        }

        InstallNewerPackage(test, original.Folder(), {{L"Old Model", L"New Model"}});
        const auto run = RunRestore(test, {L"/m", L"Old Model=New Model"});
        EXPECT_EQ(run.code, 0);
        const auto restored = Printers(test);
        for (std::size_t i = 0; i < row.printers.size(); ++i) {
            const std::wstring& name = row.printers[i].name;
            SCOPED_TRACE(text::ToUtf8(name));
            ASSERT_TRUE(restored.contains(name));
            EXPECT_EQ(restored.at(name).driver, L"New Model");
            EXPECT_EQ(restored.at(name).devmode,
                      std::vector<std::uint8_t>(devmodes[i].begin(), devmodes[i].end()));
            const auto line = std::find_if(run.lines.begin(), run.lines.end(), [&](const auto& l) {
                return l.starts_with(name + L": ");
            });
            ASSERT_NE(line, run.lines.end());
            EXPECT_NE(line->find(L"saved settings applied"), std::wstring::npos)
                << text::ToUtf8(*line);
        }
    }
}

TEST(RestoreTest, NothingToRestoreAndBadCommandLines) {
    TestMachine test;
    test.InstallProgram(ConfigIni({"Old Model"}));
    const struct {
        const char* what;
        std::vector<std::wstring> args;
        int code;
    } cases[] = {
        {"no log", {}, 2},
        {"log folder without a log", {L"C:\\Elsewhere"}, 2},
        {"unknown switch", {L"/x"}, 5},
        {"mapping without a new name", {L"/m", L"Old Model="}, 5},
        {"mapping missing", {L"/m"}, 5},
        {"old name mapped twice", {L"/m", L"A=B", L"/m", L"a=C"}, 5},
        {"two folders", {L"C:\\One", L"C:\\Two"}, 5},
        {"help", {L"/?"}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(RunRestore(test, c.args).code, c.code);
        EXPECT_FALSE(test.Exists(kLogFolder + L"Norvane.log"));
    }
}

}  // namespace
}  // namespace norvane::testing
