// Whole silent removals on a built machine: what goes, what stays, and what the log says.
#include <gtest/gtest.h>

#include <algorithm>

#include "harness/PrintSetup.h"
#include "harness/TestMachine.h"
#include "removal/Cleanup.h"
#include "removal/DriverDeletion.h"
#include "support/Text.h"

namespace norvane {
namespace {

using namespace testing;

const std::string kDevmode = std::string("O\0f\0f\0i\0c\0e\0", 12) + std::string(208, '\x01');

// Two drivers of one series sharing a monitor and a print processor, with x86 twins, printers,
// data folders, spool folders and a driver package; and another maker's printer beside them.
void InstallOffice(TestMachine& m, const std::string& extraConfig = "") {
    PrintSetup setup(m);
    for (const char* env : {"Windows x64", "Windows NT x86"}) {
        setup.Driver({"Model A",
                      "Corvida",
                      env,
                      "CVMA_UI.DLL",
                      {"CVMA.DLL", "CVMA.GPD", "SHARED.DAT"},
                      "Model A LangMon",
                      "CVAPP",
                      "USBPRINT\\Corvida-Model_A"});
        setup.Driver({"Model A PS",
                      "Corvida",
                      env,
                      "CVMAPSUI.DLL",
                      {"CVMAPS.DLL", "SHARED.DAT"},
                      "Model A LangMon",
                      "CVAPP",
                      "USBPRINT\\Corvida-Model_A_PS"});
    }
    setup.Driver({"Model B",
                  "Corvida",
                  "Windows x64",
                  "CVMB_UI.DLL",
                  {"CVMB.DLL"},
                  "",
                  "",
                  "USBPRINT\\Corvida-Model_B"});
    setup.Driver(
        {"PDF Writer", "Microsoft", "Windows x64", "PDFUI.DLL", {"PDF.DLL"}, "", "", "PDF"});
    setup.Printer("Office", "Model A", "USB001", "CVAPP", kDevmode)
        .Printer("Lobby", "Model A")
        .Printer("PS Room", "Model A PS", "IP_10.0.0.5", "CVAPP")
        .Printer("Annex", "Model B")
        .Printer("PDF", "PDF Writer", "PORTPROMPT:")
        .DefaultPrinter("Office")
        .Monitor("Model A LangMon", "cvlangmon.dll")
        .PrintProcessor("CVAPP")
        .Package(12, {"Model A", "Model A PS"},
                 {.languageMonitor = "Model A LangMon,cvlangmon.dll",
                  .printProcessor = "CVAPP,CVAPP.DLL"})
        .Package(13, {"Model B"})
        .Package(7, {"PDF Writer"});
    m.WriteFile(L"C:\\ProgramData\\Corvida\\Drv\\CVMA\\cache.dat", "x");
    m.WriteFile(L"C:\\ProgramData\\Corvida\\Drv\\CVMA\\sub\\more.dat", "x");
    m.WriteFile(L"C:\\ProgramData\\CVMAPS\\settings.ini", "x");
    m.WriteFile(L"C:\\Windows\\system32\\spool\\drivers\\x64\\Corvida_Model_A\\a.bin", "x");
    m.WriteFile(L"C:\\Windows\\system32\\spool\\drivers\\x64\\Corvida_Model_A_PS\\b.bin", "x");
    m.WriteFile(L"C:\\Windows\\system32\\spool\\drivers\\x64\\Corvida_Model_B\\c.bin", "x");
    setup.Install(ConfigIni({"Model A", "Model A PS", "Model B"}, {"D1,D2", "D3"}, extraConfig));
}

std::wstring Key(const std::string& relative) {
    return text::FromUtf8(std::string(kPrintKey) + "\\" + relative);
}

bool KeyExists(TestMachine& m, const std::wstring& path) {
    return m.Load()->Registry().Find(path) != nullptr;
}

TEST(RemovalTest, DesignatingOneDriverOfASeriesRemovesTheWholeSeries) {
    TestMachine m;
    InstallOffice(m);
    const auto run = m.Run(L"/s /x model a ps");

    for (const char* driver : {"Model A", "Model A PS"}) {
        for (const char* env : {"Windows x64", "Windows NT x86"}) {
            EXPECT_FALSE(KeyExists(
                m, Key(std::string("Environments\\") + env + "\\Drivers\\Version-3\\" + driver)))
                << driver << " " << env;
        }
    }
    for (const char* printer : {"Office", "Lobby", "PS Room"})
        EXPECT_FALSE(KeyExists(m, Key(std::string("Printers\\") + printer))) << printer;
    EXPECT_TRUE(KeyExists(m, Key("Printers\\PDF")));
    EXPECT_TRUE(KeyExists(m, Key("Printers\\Annex")));
    EXPECT_TRUE(KeyExists(m, Key("Environments\\Windows x64\\Drivers\\Version-3\\Model B")));
    EXPECT_FALSE(KeyExists(m, Key("Monitors\\Model A LangMon")));
    EXPECT_FALSE(KeyExists(m, Key("Environments\\Windows x64\\Print Processors\\CVAPP")));

    EXPECT_FALSE(m.Exists(L"C:\\ProgramData\\Corvida\\Drv\\CVMA"));
    EXPECT_FALSE(m.Exists(L"C:\\ProgramData\\CVMAPS"));
    EXPECT_FALSE(m.Exists(L"C:\\Windows\\system32\\cvlangmon.dll"));
    EXPECT_FALSE(m.Exists(L"C:\\Windows\\system32\\spool\\prtprocs\\x64\\CVAPP.DLL"));
    EXPECT_FALSE(m.Exists(L"C:\\Windows\\system32\\spool\\prtprocs\\w32x86\\CVAPP.DLL"));
    EXPECT_FALSE(m.Exists(L"C:\\Windows\\system32\\spool\\drivers\\x64\\Corvida_Model_A"));
    EXPECT_FALSE(m.Exists(L"C:\\Windows\\system32\\spool\\drivers\\x64\\Corvida_Model_A_PS"));
    EXPECT_TRUE(m.Exists(L"C:\\Windows\\system32\\spool\\drivers\\x64\\Corvida_Model_B\\c.bin"));
    EXPECT_FALSE(m.Exists(L"C:\\Windows\\inf\\oem12.inf"));
    EXPECT_FALSE(m.Exists(L"C:\\Windows\\inf\\oem12.pnf"));
    EXPECT_TRUE(m.Exists(L"C:\\Windows\\inf\\oem13.inf"));
    EXPECT_TRUE(m.Exists(L"C:\\Windows\\inf\\oem7.inf"));

    EXPECT_EQ(m.Ini(kLogFile, L"UninstResult", L"Model A"), L"0");
    EXPECT_EQ(m.Ini(kLogFile, L"UninstResult", L"Model A PS"), L"0");
    for (const wchar_t* printer : {L"Office", L"Lobby", L"PS Room"})
        EXPECT_EQ(m.Ini(kLogFile, L"DelPrinterResult", printer), L"0") << printer;
    EXPECT_EQ(m.Ini(kLogFile, L"PrinterInfo Office", L"Default"), L"1");
    EXPECT_EQ(m.Ini(kLogFile, L"PrinterInfo Office", L"DEVMODE"), L"Office.bin");
    EXPECT_EQ(m.Ini(kLogFile, L"PrinterInfo Lobby", L"Default"), L"0");
    EXPECT_EQ(m.Ini(kLogFile, L"PrinterInfo PS Room", L"PortName"), L"IP_10.0.0.5");
    EXPECT_EQ(m.Ini(kLogFile, L"PrinterInfo PS Room", L"DriverName"), L"Model A PS");
    EXPECT_EQ(m.ReadFile(std::wstring(kProgramFolder) + L"Office.bin"), kDevmode);
    EXPECT_EQ(m.ReadFile(std::wstring(kProgramFolder) + L"Lobby.bin").size(), 220u);
    // Folders are removed by full paths; the process's working folder is left alone.
    for (const auto& entry : run.journal)
        EXPECT_FALSE(entry.starts_with(L"SetCurrentDirectory")) << text::ToUtf8(entry);
}

TEST(RemovalTest, DriverSwitchTakesNamesAsTheyAre) {
    TestMachine m;
    InstallOffice(m);
    m.Run(L"/s /d Model A PS");
    EXPECT_EQ(m.Ini(kLogFile, L"UninstResult", L"Model A PS"), L"0");
    EXPECT_EQ(m.Ini(kLogFile, L"UninstResult", L"Model A"), L"<missing>");
    EXPECT_TRUE(KeyExists(m, Key("Environments\\Windows x64\\Drivers\\Version-3\\Model A")));
    // The monitor and print processor stay with the driver that still uses them.
    EXPECT_TRUE(KeyExists(m, Key("Monitors\\Model A LangMon")));
    EXPECT_TRUE(m.Exists(L"C:\\Windows\\system32\\spool\\prtprocs\\x64\\CVAPP.DLL"));
    EXPECT_FALSE(m.Exists(L"C:\\ProgramData\\CVMAPS"));
}

TEST(RemovalTest, DesignatedPrinterGoesAloneAndUnknownNamesGetFour) {
    TestMachine m;
    InstallOffice(m);
    m.Run(L"/s /p Lobby, Nowhere");
    EXPECT_FALSE(KeyExists(m, Key("Printers\\Lobby")));
    EXPECT_TRUE(KeyExists(m, Key("Printers\\Office")));
    EXPECT_TRUE(KeyExists(m, Key("Environments\\Windows x64\\Drivers\\Version-3\\Model A")));
    EXPECT_EQ(m.Ini(kLogFile, L"UninstResult", L"Lobby"), L"0");
    EXPECT_EQ(m.Ini(kLogFile, L"DelPrinterResult", L"Lobby"), L"0");
    EXPECT_EQ(m.Ini(kLogFile, L"UninstResult", L"Nowhere"), L"4");
    EXPECT_EQ(m.Ini(kLogFile, L"UninstResult", L"Model A"), L"<missing>");
}

TEST(RemovalTest, UnknownDriverGetsFourAndTheRestProceeds) {
    TestMachine m;
    InstallOffice(m);
    m.Run(L"/s /d Ghost,Model B");
    EXPECT_EQ(m.Ini(kLogFile, L"UninstResult", L"Ghost"), L"4");
    EXPECT_EQ(m.Ini(kLogFile, L"UninstResult", L"Model B"), L"0");
    EXPECT_EQ(m.Ini(kLogFile, L"DelPrinterResult", L"Annex"), L"0");
    EXPECT_TRUE(KeyExists(m, Key("Printers\\Office")));
}

TEST(RemovalTest, NothingDesignatedIsReported) {
    TestMachine m;
    InstallOffice(m);
    const auto run = m.Run(L"/s");
    EXPECT_EQ(m.Ini(kLogFile, L"UninstResult", L"ErrMsg"), L"<missing>");
    EXPECT_TRUE(run.messageBoxes.empty());
    const auto loud = m.Run(L"/o");
    ASSERT_EQ(loud.messageBoxes.size(), 1u);
    EXPECT_NE(loud.messageBoxes[0].find(L"Nothing was designated"), std::wstring::npos);
}

TEST(RemovalTest, LockedFileKeepsItsDataFolderAndFailsOnlyItsDriver) {
    TestMachine m;
    InstallOffice(m);
    m.SetJson(R"({"faults": {"lockedFiles": ["C:\\ProgramData\\Corvida\\Drv\\CVMA\\cache.dat"]}})");
    m.Run(L"/s /x Model A");
    EXPECT_EQ(m.Ini(kLogFile, L"Model A", L"F1"), L"C:\\ProgramData\\Corvida\\Drv\\CVMA\\");
    EXPECT_EQ(m.Ini(kLogFile, L"UninstResult", L"Model A"), L"1");
    EXPECT_EQ(m.Ini(kLogFile, L"UninstResult", L"Model A PS"), L"0");
    EXPECT_TRUE(m.Exists(L"C:\\ProgramData\\Corvida\\Drv\\CVMA\\cache.dat"));
    EXPECT_FALSE(m.Exists(L"C:\\ProgramData\\Corvida\\Drv\\CVMA\\sub"));
    EXPECT_FALSE(m.Exists(L"C:\\Windows\\system32\\cvlangmon.dll"));
}

TEST(RemovalTest, BusyDriverIsRetriedOnceASecond) {
    TestMachine m;
    InstallOffice(m, "[Timeout]\r\nSecond=3\r\n");
    m.SetJson(R"({"faults": {"drivers": {"Windows x64|Model B": {"deleteErrors": [32, 32]}}}})");
    const auto run = m.Run(L"/s /d Model B");
    int sleeps = 0;
    for (const auto& entry : run.journal)
        sleeps += entry == L"Sleep 1000";
    EXPECT_EQ(sleeps, 2);
    EXPECT_EQ(m.Ini(kLogFile, L"UninstResult", L"Model B"), L"0");
    EXPECT_FALSE(KeyExists(m, Key("Environments\\Windows x64\\Drivers\\Version-3\\Model B")));
}

TEST(RemovalTest, WithoutRetriesABusyDriverFails) {
    TestMachine m;
    InstallOffice(m, "[Timeout]\r\nSecond=0\r\n");
    m.SetJson(R"({"faults": {"drivers": {"Windows x64|Model B": {"deleteErrors": [32]}}}})");
    const auto run = m.Run(L"/s /d Model B");
    for (const auto& entry : run.journal)
        EXPECT_NE(entry, L"Sleep 1000");
    EXPECT_EQ(m.Ini(kLogFile, L"UninstResult", L"Model B"), L"1");
    EXPECT_TRUE(KeyExists(m, Key("Environments\\Windows x64\\Drivers\\Version-3\\Model B")));
}

// A driver the spooler keeps busy is retried once a second for [Timeout] Second seconds, ten
// minutes at the most; a longer budget is cut, and the log says so under the driver.
TEST(RemovalTest, RetryBudgetEndsAfterTenMinutes) {
    struct Case {
        const char* second;
        int sleeps;
        const wchar_t* note;
    } cases[] = {
        {"600", 600, L"<missing>"},
        {"601", 600, L"600 seconds: [Timeout] Second=601 is more than the longest wait"},
        {"2147483647", 600,
         L"600 seconds: [Timeout] Second=2147483647 is more than the longest wait"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.second);
        TestMachine m;
        InstallOffice(m, std::string("[Timeout]\r\nSecond=") + c.second + "\r\n");
        m.SetJson(R"({"faults": {"drivers": {"Windows x64|Model B": {"heldUntilReboot": true}}}})");
        const auto run = m.Run(L"/s /d Model B");
        EXPECT_EQ(std::count(run.journal.begin(), run.journal.end(), L"Sleep 1000"), c.sleeps);
        EXPECT_EQ(m.Ini(kLogFile, L"Model B", L"Timeout"), c.note);
        EXPECT_EQ(m.Ini(kLogFile, L"UninstResult", L"Model B"), L"-1");
    }
}

// Keys whose security lets the program read but not change them: the driver deletion's repair
// of a driver that stays and the restart's registry cleaning leave them as they are.
TEST(RemovalTest, ReadOnlyKeysAreLeftAsTheyAre) {
    for (const bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "read-only" : "writable");
        TestMachine m;
        InstallOffice(m, "[Timeout]\r\nSecond=0\r\n");
        const std::string driverKey = DoubledBackslashes(
            std::string(kPrintKey) + "\\Environments\\Windows x64\\Drivers\\Version-3\\Model B");
        m.SetJson(std::string(
                      R"({"faults": {"drivers": {"Windows x64|Model B": {"deleteErrors": [32]}})") +
                  (readOnly ? R"(, "readOnlyKeys": [")" + driverKey + R"("])" : "") + "}}");
        const auto run = m.Run(L"/s /d Model B");
        const bool repaired =
            std::any_of(run.journal.begin(), run.journal.end(), [](const auto& e) {
                return e.starts_with(L"RegSetValue") &&
                       e.find(L"Model B \"Print Processor\"") != std::wstring::npos;
            });
        EXPECT_EQ(repaired, !readOnly);
        EXPECT_EQ(m.Ini(kLogFile, L"UninstResult", L"Model B"), L"1");
    }

    TestMachine m;
    PrintSetup setup(m);
    setup.Driver(PlainDriver("Model B", "CVMB_UI.DLL", {"CVMB.DLL"}))
        .Registry("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Maker]\r\n\"Installed\"=\"1\"\r\n\r\n");
    setup.Install(
        "[Common]\r\nOEMPROVIDER=Corvida\r\nOEMREGPATH=SOFTWARE\\Maker\r\n"
        "OEMREGNORVANEPATH=SOFTWARE\\Maker\\Tool\r\n[Driver]\r\nD1=Model B\r\n");
    m.SetJson(R"({"faults": {"drivers": {"Windows x64|Model B": {"heldUntilReboot": true}},
                             "readOnlyKeys": ["HKEY_LOCAL_MACHINE\\SOFTWARE\\Maker"]}})");
    m.Run(L"/s /d Model B");
    m.Reboot();
    auto machine = m.Load();
    const sim::RegKey* maker = machine->Registry().Find(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Maker");
    ASSERT_TRUE(maker);
    EXPECT_TRUE(maker->FindValue(L"Installed"));
    EXPECT_TRUE(maker->subkeys.empty());
}

TEST(RemovalTest, DriverHeldUntilRestartIsFinishedByTheRestartedRun) {
    TestMachine m;
    InstallOffice(m);
    m.SetJson(R"({"faults": {"drivers": {"Windows x64|Model B": {"heldUntilReboot": true}}}})");
    const auto run = m.Run(L"/s /d Model B");
    EXPECT_TRUE(run.messageBoxes.empty());
    EXPECT_EQ(m.Ini(kLogFile, L"UninstResult", L"Model B"), L"-1");
    auto machine = m.Load();
    const sim::RegKey* runOnce = machine->Registry().Find(
        L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce");
    ASSERT_TRUE(runOnce);
    ASSERT_TRUE(runOnce->FindValue(L"norvane"));
    EXPECT_EQ(runOnce->FindValue(L"norvane")->AsString(),
              L"\"C:\\Program Files\\Halvex\\Norvane\\Norvane.exe\" -Restarted");
    const sim::RegKey* program =
        machine->Registry().Find(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvida\\Halvex");
    ASSERT_TRUE(program);
    EXPECT_EQ(program->FindValue(L"DriversToBeDeleted")->AsString(), L"Model B,");
    machine.reset();
    m.Reboot();
    EXPECT_FALSE(KeyExists(m, Key("Environments\\Windows x64\\Drivers\\Version-3\\Model B")));
    EXPECT_FALSE(KeyExists(m, L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvida"));
}

// A print server's list of held drivers is longer than a buffer of 4096 bytes holds: the list
// an earlier run left is read whole, kept, and the continuation deletes every driver on it.
TEST(RemovalTest, LongListOfHeldDriversSurvivesTheNextPutOff) {
    TestMachine m;
    PrintSetup setup(m);
    setup.Driver(PlainDriver("Model B", "CVMB_UI.DLL", {"CVMB.DLL"}));
    std::string list;
    std::vector<std::string> names;
    for (int i = 1; i <= 50; ++i) {
        names.push_back("Corvida Print Server Model " + std::to_string(1000 + i) + " Class Driver");
        setup.Driver(PlainDriver(names.back(), "CVPS_UI.DLL", {"CVPS.DLL"}));
        list += names.back() + ",";
    }
    ASSERT_GT(list.size(), 2048u);
    setup.Registry("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvida\\Halvex]\r\n\"DriversToBeDeleted\"=\"" +
                   list + "\"\r\n\r\n");
    names.push_back("Model B");
    setup.Install(ConfigIni(names));
    m.SetJson(R"({"faults": {"drivers": {"Windows x64|Model B": {"heldUntilReboot": true}}}})");
    m.Run(L"/s /d Model B");
    {
        auto machine = m.Load();
        const sim::RegKey* program =
            machine->Registry().Find(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvida\\Halvex");
        ASSERT_TRUE(program);
        EXPECT_EQ(program->FindValue(L"DriversToBeDeleted")->AsString(),
                  text::FromUtf8(list) + L"Model B,");
    }
    m.Reboot();
    for (const auto& name : names)
        EXPECT_FALSE(KeyExists(m, Key("Environments\\Windows x64\\Drivers\\Version-3\\" + name)))
            << name;
}

// The continuation deletes the keys config.ini names, never a fixed name: a key called
// "Corvida" that this package did not make stays.
TEST(RemovalTest, RestartCleansOnlyTheConfiguredKeys) {
    TestMachine m;
    PrintSetup setup(m);
    setup.Driver({"Model B", "Corvida", "Windows x64", "CVMB_UI.DLL", {"CVMB.DLL"}, "", "", ""})
        .Registry(
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvida\\Halvex]\r\n\"Keep\"=\"1\"\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Maker]\r\n\"Installed\"=\"1\"\r\n\r\n");
    setup.Install(
        "[Common]\r\nOEMPROVIDER=Corvida\r\nOEMREGPATH=SOFTWARE\\Maker\r\n"
        "OEMREGNORVANEPATH=SOFTWARE\\Maker\\Tool\r\n[Driver]\r\nD1=Model B\r\n");
    m.SetJson(R"({"faults": {"drivers": {"Windows x64|Model B": {"heldUntilReboot": true}}}})");
    m.Run(L"/s /d Model B");
    EXPECT_TRUE(KeyExists(m, L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Maker\\Tool"));
    m.Reboot();
    // The maker key existed, the program key did not: only the program key goes.
    EXPECT_FALSE(KeyExists(m, L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Maker\\Tool"));
    EXPECT_TRUE(KeyExists(m, L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Maker"));
    EXPECT_TRUE(KeyExists(m, L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvida\\Halvex"));
    EXPECT_FALSE(KeyExists(m, Key("Environments\\Windows x64\\Drivers\\Version-3\\Model B")));
}

// A printer whose job still prints is only pending deletion: it reads as deleted, but its driver
// is held until the restart, which the run must report as such and never as removed.
TEST(RemovalTest, PrinterPendingDeletionPutsItsDriverOffUntilTheRestart) {
    TestMachine m;
    InstallOffice(m);
    m.SetJson(R"({"faults": {"busyPrinters": {"Annex": "printing"}}})");
    const auto run = m.Run(L"/s /e /d Model B");
    EXPECT_EQ(m.Ini(kLogFile, L"DelPrinterResult", L"Annex"), L"0");
    EXPECT_EQ(m.Ini(kLogFile, L"UninstResult", L"Model B"), L"-1");
    EXPECT_EQ(run.exitCode, 3010);
    EXPECT_TRUE(KeyExists(m, Key("Environments\\Windows x64\\Drivers\\Version-3\\Model B")));
    const auto machine = m.Load();
    const sim::RegKey* program =
        machine->Registry().Find(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvida\\Halvex");
    ASSERT_TRUE(program);
    EXPECT_EQ(program->FindValue(L"DriversToBeDeleted")->AsString(), L"Model B,");
    m.Reboot();
    EXPECT_FALSE(KeyExists(m, Key("Printers\\Annex")));
    EXPECT_FALSE(KeyExists(m, Key("Environments\\Windows x64\\Drivers\\Version-3\\Model B")));
}

// A printer pending deletion still uses its print processor, which the spooler then refuses to
// delete (1003): like the driver the printer holds, the processor is put off until the restart,
// which deletes it with its files in both environments. No failure is logged for it.
TEST(RemovalTest, PrintProcessorOfAPrinterPendingDeletionGoesAfterTheRestart) {
    TestMachine m;
    InstallOffice(m);
    m.SetJson(R"({"faults": {"busyPrinters": {"Office": "otherHandleOpen"}}})");
    const auto run = m.Run(L"/s /e /x Model A");
    const std::wstring x64File = L"C:\\Windows\\system32\\spool\\prtprocs\\x64\\CVAPP.DLL";
    const std::wstring x86File = L"C:\\Windows\\system32\\spool\\prtprocs\\w32x86\\CVAPP.DLL";
    EXPECT_NE(std::find(run.journal.begin(), run.journal.end(),
                        L"DeletePrintProcessor \"Windows x64\" \"CVAPP\" -> 1003"),
              run.journal.end());
    EXPECT_EQ(m.Ini(kLogFile, L"Model A", L"F1"), L"<missing>");
    EXPECT_EQ(m.Ini(kLogFile, L"UninstResult", L"Model A"), L"-1");
    EXPECT_EQ(run.exitCode, 3010);
    EXPECT_TRUE(m.Exists(x64File));
    m.Reboot();
    for (const auto& file : {x64File, x86File})
        EXPECT_FALSE(m.Exists(file)) << file;
    EXPECT_FALSE(KeyExists(m, Key("Environments\\Windows x64\\Print Processors\\CVAPP")));
    EXPECT_FALSE(KeyExists(m, Key("Environments\\Windows NT x86\\Print Processors\\CVAPP")));
    EXPECT_FALSE(KeyExists(m, Key("Environments\\Windows x64\\Drivers\\Version-3\\Model A")));
}

// With every printer gone the spooler refuses to choose a default; the run is not affected.
TEST(RemovalTest, NoPrinterLeftForADefaultIsHarmless) {
    TestMachine m;
    PrintSetup setup(m);
    setup.Driver({"Model B", "Corvida", "Windows x64", "CVMB_UI.DLL", {"CVMB.DLL"}, "", "", ""})
        .Printer("Annex", "Model B")
        .DefaultPrinter("Annex");
    setup.Install(ConfigIni({"Model B"}, {"D1"}));
    const auto run = m.Run(L"/s /e /d Model B");
    EXPECT_NE(std::find(run.journal.begin(), run.journal.end(),
                        L"SetDefaultPrinter \"\" -> 1801 (no printer left)"),
              run.journal.end());
    EXPECT_EQ(m.Ini(kLogFile, L"UninstResult", L"Model B"), L"0");
    EXPECT_EQ(m.Ini(kLogFile, L"DelPrinterResult", L"Annex"), L"0");
    EXPECT_EQ(run.exitCode, 0);
}

TEST(RemovalTest, ConnectionIsRemovedAndItsSettingsFileNameIsSafe) {
    TestMachine m;
    PrintSetup setup(m);
    setup.Driver({"Model B", "Corvida", "Windows x64", "CVMB_UI.DLL", {"CVMB.DLL"}, "", "", ""})
        .Registry(
            "[HKEY_CURRENT_USER\\Printers\\Connections\\,,srv,Hall B]\r\n"
            "\"Printer Driver\"=\"Model B\"\r\n\"Port\"=\"\\\\\\\\srv\\\\Hall B\"\r\n\r\n");
    setup.Install(ConfigIni({"Model B"}));
    m.Run(L"/s /p \\\\srv\\Hall B");
    EXPECT_FALSE(KeyExists(m, L"HKEY_CURRENT_USER\\Printers\\Connections\\,,srv,Hall B"));
    EXPECT_EQ(m.Ini(kLogFile, L"DelPrinterResult", L"\\\\srv\\Hall B"), L"0");
    // The safe name changed the connection's name: a hash of the exact name keeps it apart from
    // others that change into the same.
    const std::wstring file = m.Ini(kLogFile, L"PrinterInfo \\\\srv\\Hall B", L"DEVMODE");
    EXPECT_TRUE(file.starts_with(L"__srv_Hall B~") && file.ends_with(L".bin"))
        << text::ToUtf8(file);
    EXPECT_EQ(m.Ini(kLogFile, L"PrinterInfo \\\\srv\\Hall B", L"SettingsFile"), file);
    EXPECT_TRUE(m.Exists(std::wstring(kProgramFolder) + file));
}

TEST(DriverDeletionTest, RetryCountReadsLikeWtoi) {
    EXPECT_EQ(LeadingInteger(L"3"), 3);
    EXPECT_EQ(LeadingInteger(L" 12s"), 12);
    EXPECT_EQ(LeadingInteger(L"-4"), -4);
    EXPECT_EQ(LeadingInteger(L"ten"), 0);
    EXPECT_EQ(LeadingInteger(L""), 0);
}

}  // namespace
}  // namespace norvane
