// The simulated spooler's changing side: connections, drivers, monitors, print processors and the
// default printer, with the errors Windows gives and the journal a run leaves.
#include "platform/sim/SimSpooler.h"

#include <gtest/gtest.h>

#include <functional>

#include "harness/TestMachine.h"
#include "sim/SpoolerMachine.h"

namespace norvane::sim {
namespace {

namespace win = platform::win;
using test::DefaultPrinter;
using test::Driver;
using test::JournalOf;
using test::Key;
using test::kPrint;
using test::Printer;

constexpr wchar_t kX64[] = L"Windows x64";
constexpr wchar_t kX86[] = L"Windows NT x86";
constexpr wchar_t kX64Folder[] = L"C:\\Windows\\system32\\spool\\DRIVERS\\x64\\3\\";

class SimSpoolerTest : public ::testing::Test {
protected:
    platform::Spooler& Load() {
        m_machine = m_test.Load();
        return m_machine->Platform().spooler;
    }
    std::vector<std::wstring> PrinterNames() {
        std::vector<platform::PrinterInfo2> printers;
        (void)m_machine->Platform().spooler.EnumPrinters(
            platform::kPrinterEnumLocal | platform::kPrinterEnumConnections, printers);
        std::vector<std::wstring> names;
        for (const auto& printer : printers)
            names.push_back(printer.printerName);
        return names;
    }
    std::vector<std::wstring> DriverNames(const wchar_t* environment) {
        std::vector<platform::DriverInfo6> drivers;
        (void)m_machine->Platform().spooler.EnumDrivers(environment, drivers);
        std::vector<std::wstring> names;
        for (const auto& driver : drivers)
            names.push_back(driver.name);
        return names;
    }
    bool HasKey(const std::wstring& path) { return m_machine->Registry().Find(path) != nullptr; }

    testing::TestMachine m_test;
    std::unique_ptr<Machine> m_machine;
};

TEST_F(SimSpoolerTest, ConnectionsAreDeletedByTheirServerAndQueueOnly) {
    m_test.SetRegistry(Printer("Office", "Model A") +
                       Key("HKEY_CURRENT_USER\\Printers\\Connections\\,,srv,Lobby",
                           {"\"Printer Driver\"=\"Model A\"", "\"Port\"=\"Ne00:\""}));
    auto& spooler = Load();
    ASSERT_EQ(spooler.SetDefaultPrinter(L"\\\\srv\\Lobby"), win::kSuccess);

    // A local printer, a missing connection and a bare name are not connections.
    EXPECT_EQ(spooler.DeletePrinterConnection(L"Office"), win::kInvalidPrinterName);
    EXPECT_EQ(spooler.DeletePrinterConnection(L"\\\\srv\\Other"), win::kInvalidPrinterName);
    EXPECT_EQ(spooler.DeletePrinterConnection(L"Lobby"), win::kInvalidPrinterName);
    EXPECT_EQ(spooler.DeletePrinterConnection(L"\\\\SRV\\lobby"), win::kSuccess);
    EXPECT_EQ(PrinterNames(), (std::vector<std::wstring>{L"Office"}));
    EXPECT_FALSE(HasKey(L"HKEY_CURRENT_USER\\Printers\\Connections\\,,srv,Lobby"));
    std::wstring defaultPrinter;
    EXPECT_EQ(spooler.GetDefaultPrinter(defaultPrinter), win::kFileNotFound);
    EXPECT_EQ(spooler.DeletePrinterConnection(L"\\\\srv\\Lobby"), win::kInvalidPrinterName);

    const auto journal = JournalOf(*m_machine);
    EXPECT_EQ(journal[1], L"DeletePrinterConnection \"Office\" -> 1801");
    EXPECT_EQ(journal[4], L"DeletePrinterConnection \"\\\\SRV\\lobby\"");
}

TEST_F(SimSpoolerTest, ConnectionWithAFaultStays) {
    m_test.SetRegistry(Key("HKEY_CURRENT_USER\\Printers\\Connections\\,,srv,Hall"));
    m_test.SetJson(R"({"faults": {"printers": {"\\\\srv\\Hall": {"deleteError": 5}}}})");
    auto& spooler = Load();
    EXPECT_EQ(spooler.DeletePrinterConnection(L"\\\\srv\\Hall"), win::kAccessDenied);
    EXPECT_EQ(PrinterNames(), (std::vector<std::wstring>{L"\\\\srv\\Hall"}));
    EXPECT_EQ(JournalOf(*m_machine).back(),
              L"DeletePrinterConnection \"\\\\srv\\Hall\" -> 5 (fault)");
}

TEST_F(SimSpoolerTest, DriverDeletionTakesFaultsThenChecksTheDriverAndItsPrinters) {
    m_test.SetRegistry(Driver("Windows x64", "Model A") + Driver("Windows NT x86", "Model A") +
                       Driver("Windows x64", "Model B") + Printer("Office", "model a"));
    m_test.SetJson(R"({"faults": {"drivers": {
        "Windows x64|Model A": {"deleteErrors": [32, 5]},
        "Windows NT x86|Model B": {"heldUntilReboot": true}}}})");
    auto& spooler = Load();

    // The queued errors come first, one a call, even while a printer uses the driver.
    EXPECT_EQ(spooler.DeletePrinterDriver(L"", L"Model A", 1), win::kSharingViolation);
    EXPECT_EQ(spooler.DeletePrinterDriver(kX64, L"MODEL A", 1), win::kAccessDenied);
    EXPECT_EQ(spooler.DeletePrinterDriver(L"", L"Model A", 1), win::kPrinterDriverInUse);
    EXPECT_TRUE(m_machine->Config().faults.Driver(kX64, L"Model A")->deleteErrors.empty());
    // A driver held until a restart refuses every time, even when it is not there.
    EXPECT_EQ(spooler.DeletePrinterDriver(kX86, L"Model B", 1), win::kPrinterDriverInUse);
    EXPECT_EQ(spooler.DeletePrinterDriver(kX86, L"Model B", 1), win::kPrinterDriverInUse);
    EXPECT_EQ(spooler.DeletePrinterDriver(L"", L"Nope", 1), win::kUnknownPrinterDriver);
    EXPECT_EQ(spooler.DeletePrinterDriver(L"Windows ARM", L"Model A", 1),
              platform::win::kInvalidEnvironment);

    // The printer is counted in every environment: the x86 twin is refused too.
    EXPECT_EQ(spooler.DeletePrinterDriver(kX86, L"Model A", 1), win::kPrinterDriverInUse);
    std::unique_ptr<platform::Printer> office;
    ASSERT_EQ(spooler.OpenPrinter(L"Office", platform::kPrinterAllAccess, office), win::kSuccess);
    ASSERT_EQ(office->Delete(), win::kSuccess);
    EXPECT_EQ(spooler.DeletePrinterDriver(kX86, L"model a", 1), win::kSuccess);
    EXPECT_EQ(spooler.DeletePrinterDriver(L"", L"Model A", 0), win::kSuccess);
    EXPECT_EQ(DriverNames(kX64), (std::vector<std::wstring>{L"Model B"}));
    EXPECT_TRUE(DriverNames(kX86).empty());

    const auto journal = JournalOf(*m_machine);
    EXPECT_EQ(journal[0],
              L"DeletePrinterDriverEx \"Windows x64\" \"Model A\" flags=1 -> 32 (fault)");
    EXPECT_EQ(journal[2], L"DeletePrinterDriverEx \"Windows x64\" \"Model A\" flags=1 -> 3001");
    EXPECT_EQ(journal[3],
              L"DeletePrinterDriverEx \"Windows NT x86\" \"Model B\" flags=1 -> 3001 (held until "
              L"reboot)");
    EXPECT_EQ(journal[5], L"DeletePrinterDriverEx \"Windows x64\" \"Nope\" flags=1 -> 1797");
    EXPECT_EQ(journal.back(), L"DeletePrinterDriverEx \"Windows x64\" \"Model A\" flags=0");
}

TEST_F(SimSpoolerTest, UnusedFilesGoWhileSharedAndLockedOnesStay) {
    const std::string x64 = "C:\\Windows\\system32\\spool\\DRIVERS\\x64\\3\\";
    m_test.SetRegistry(
        Driver("Windows x64", "Model A",
               {"\"Driver\"=\"CVMA.DLL\"", "\"Configuration File\"=\"CVMA_UI.DLL\"",
                "\"Data File\"=\"cvma.gpd\"",
                // "SHARED.DLL", "CVMA.LCK", "CVMA.DLL" (named twice)
                "\"Dependent Files\"=hex(7):53,00,48,00,41,00,52,00,45,00,44,00,2e,00,44,00,4c,00,"
                "4c,00,00,00,43,00,56,00,4d,00,41,00,2e,00,4c,00,43,00,4b,00,00,00,43,00,56,00,4d,"
                "00,41,00,2e,00,44,00,4c,00,4c,00,00,00,00,00"}) +
        Driver("Windows x64", "Model B",
               {"\"Driver\"=\"shared.dll\"", "\"Configuration File\"=\"CVMB_UI.DLL\""}) +
        Driver("Windows NT x86", "Model A", {"\"Driver\"=\"CVMA.DLL\""}));
    m_test.SetJson(
        R"({"faults": {"lockedFiles": ["C:\\Windows\\System32\\spool\\drivers\\x64\\3\\cvma.lck"]}})");
    for (const char* file :
         {"CVMA.DLL", "CVMA_UI.DLL", "cvma.gpd", "SHARED.DLL", "CVMA.LCK", "CVMB_UI.DLL"}) {
        m_test.WriteFile(text::FromUtf8(x64 + file), "x");
    }
    m_test.WriteFile(L"C:\\Windows\\system32\\spool\\DRIVERS\\W32X86\\3\\CVMA.DLL", "x");
    auto& spooler = Load();

    ASSERT_EQ(spooler.DeletePrinterDriver(kX64, L"Model A", platform::kDeleteUnusedFiles),
              win::kSuccess);
    const std::wstring folder = kX64Folder;
    EXPECT_FALSE(m_test.Exists(folder + L"CVMA.DLL"));
    EXPECT_FALSE(m_test.Exists(folder + L"CVMA_UI.DLL"));
    EXPECT_FALSE(m_test.Exists(folder + L"cvma.gpd"));
    EXPECT_TRUE(m_test.Exists(folder + L"SHARED.DLL"));  // Model B's driver file
    EXPECT_TRUE(m_test.Exists(folder + L"CVMA.LCK"));    // locked
    // The other environment's folder is not this driver's.
    EXPECT_TRUE(m_test.Exists(L"C:\\Windows\\system32\\spool\\DRIVERS\\W32X86\\3\\CVMA.DLL"));
    const auto journal = JournalOf(*m_machine);
    EXPECT_EQ(journal[0], L"DeletePrinterDriverEx \"Windows x64\" \"Model A\" flags=1");
    EXPECT_NE(std::find(journal.begin(), journal.end(),
                        L"DeleteFile \"" + folder + L"CVMA.LCK\" -> 32 (locked)"),
              journal.end());

    // Without the flag every file stays.
    ASSERT_EQ(spooler.DeletePrinterDriver(kX64, L"Model B", 0), win::kSuccess);
    EXPECT_TRUE(m_test.Exists(folder + L"CVMB_UI.DLL"));
}

// The spooler keeps its count of the drivers naming each file from one deletion to the next; a
// driver that names the file and comes into the registry between two deletions must still keep
// it, and any other change of the registry must leave the count right.
TEST(SimSpoolerFileCountTest, SharedFileGoesWithTheLastDriverNamingIt) {
    struct Case {
        const char* name;
        const wchar_t* madeKey;       // below the print key, made between the deletions
        const wchar_t* sharedDriver;  // its "Driver" value, if any
        bool sharedStays;
    };
    const wchar_t* const modelD = L"\\Environments\\Windows x64\\Drivers\\Version-3\\Model D";
    for (const Case& c : {Case{"nothing else changes", nullptr, nullptr, false},
                          Case{"another driver names it", modelD, L"Shared.dll", true},
                          Case{"another driver names another file", modelD, L"D.DLL", false},
                          Case{"a key elsewhere", L"\\Monitors\\Other", nullptr, false}}) {
        SCOPED_TRACE(c.name);
        testing::TestMachine test;
        test.SetRegistry(Driver("Windows x64", "Model A", {"\"Driver\"=\"SHARED.DLL\""}) +
                         Driver("Windows x64", "Model B", {"\"Driver\"=\"shared.dll\""}) +
                         Driver("Windows x64", "Model C", {"\"Driver\"=\"C.DLL\""}));
        for (const wchar_t* file : {L"SHARED.DLL", L"C.DLL"})
            test.WriteFile(kX64Folder + std::wstring(file), "x");
        const auto machine = test.Load();
        platform::Spooler& spooler = machine->Platform().spooler;
        platform::Registry& registry = machine->Platform().registry;
        const auto hklm = platform::RootKey::LocalMachine;
        ASSERT_EQ(spooler.DeletePrinterDriver(kX64, L"Model A", platform::kDeleteUnusedFiles), 0u);
        ASSERT_EQ(spooler.DeletePrinterDriver(kX64, L"Model C", platform::kDeleteUnusedFiles), 0u);
        EXPECT_FALSE(test.Exists(kX64Folder + std::wstring(L"C.DLL")));
        if (c.madeKey) {
            const std::wstring key = kPrintPath + std::wstring(c.madeKey);
            ASSERT_EQ(registry.CreateKey(hklm, key, nullptr), 0u);
            if (c.sharedDriver) {
                ASSERT_EQ(registry.SetValue(hklm, key, L"Driver",
                                            platform::RegValue::String(c.sharedDriver)),
                          0u);
            }
        }
        ASSERT_EQ(spooler.DeletePrinterDriver(kX64, L"Model B", platform::kDeleteUnusedFiles), 0u);
        EXPECT_EQ(test.Exists(kX64Folder + std::wstring(L"SHARED.DLL")), c.sharedStays);
    }
}

TEST_F(SimSpoolerTest, MonitorsInUseUnknownOrFaultyStay) {
    m_test.SetRegistry(Key(kPrint + "\\Monitors\\LangMon", {"\"Driver\"=\"cvlangmon.dll\""}) +
                       Key(kPrint + "\\Monitors\\LangMon\\Ports") +
                       Key(kPrint + "\\Monitors\\TCP\\Ports\\IP_10.0.0.1") +
                       Printer("Lobby", "Model B", "IP_10.0.0.1") +
                       Key(kPrint + "\\Monitors\\Stubborn"));
    m_test.SetJson(R"({"faults": {"monitors": {"Stubborn": {"deleteError": 5}}}})");
    m_test.WriteFile(L"C:\\Windows\\System32\\cvlangmon.dll", "x");
    auto& spooler = Load();
    EXPECT_EQ(spooler.DeleteMonitor(L"TCP"), win::kPrintMonitorInUse);
    EXPECT_EQ(spooler.DeleteMonitor(L"Nope"), platform::win::kUnknownPrintMonitor);
    EXPECT_EQ(spooler.DeleteMonitor(L"stubborn"), win::kAccessDenied);
    EXPECT_EQ(spooler.DeleteMonitor(L"langmon"), win::kSuccess);  // a Ports key without ports
    EXPECT_FALSE(HasKey(std::wstring(kPrintKey) + L"\\Monitors\\LangMon"));
    EXPECT_TRUE(HasKey(std::wstring(kPrintKey) + L"\\Monitors\\TCP"));
    EXPECT_TRUE(HasKey(std::wstring(kPrintKey) + L"\\Monitors\\Stubborn"));
    EXPECT_TRUE(m_test.Exists(L"C:\\Windows\\System32\\cvlangmon.dll"));
    EXPECT_EQ(JournalOf(*m_machine),
              (std::vector<std::wstring>{
                  L"DeleteMonitor \"TCP\" -> 3008", L"DeleteMonitor \"Nope\" -> 3000",
                  L"DeleteMonitor \"stubborn\" -> 5 (fault)", L"DeleteMonitor \"langmon\""}));
}

TEST_F(SimSpoolerTest, PrintProcessorsAreDeletedPerEnvironment) {
    const std::string x64 = kPrint + "\\Environments\\Windows x64\\Print Processors\\";
    const std::string x86 = kPrint + "\\Environments\\Windows NT x86\\Print Processors\\";
    m_test.SetRegistry(Key(x64 + "CVAPP", {"\"Driver\"=\"CVAPP.DLL\""}) + Key(x86 + "CVAPP") +
                       Key(x64 + "MODAPP"));
    m_test.SetJson(R"({"faults": {"printProcessors": {"MODAPP": {"deleteError": 5}}}})");
    auto& spooler = Load();
    EXPECT_EQ(spooler.DeletePrintProcessor(L"", L"cvapp"), win::kSuccess);
    EXPECT_FALSE(HasKey(text::FromUtf8(x64 + "CVAPP")));
    EXPECT_TRUE(HasKey(text::FromUtf8(x86 + "CVAPP")));
    EXPECT_EQ(spooler.DeletePrintProcessor(kX64, L"CVAPP"), platform::win::kUnknownPrintProcessor);
    EXPECT_EQ(spooler.DeletePrintProcessor(kX86, L"CVAPP"), win::kSuccess);
    EXPECT_EQ(spooler.DeletePrintProcessor(L"", L"MODAPP"), win::kAccessDenied);
    EXPECT_EQ(spooler.DeletePrintProcessor(L"Windows ARM", L"CVAPP"),
              platform::win::kInvalidEnvironment);
    EXPECT_EQ(JournalOf(*m_machine)[0], L"DeletePrintProcessor \"Windows x64\" \"cvapp\"");
    EXPECT_EQ(JournalOf(*m_machine)[1], L"DeletePrintProcessor \"Windows x64\" \"CVAPP\" -> 1798");
}

// What the spooler refuses, and what it only puts off, as Windows documents it: a print processor
// or a monitor's port a printer uses, a printer whose job prints or that another program has open
// (pending deletion: out of the list, its driver still in use until the spooler starts afresh,
// revived by an AddPrinterW of its name), and a new default with no printer to choose.
TEST(SimSpoolerRefusalTest, RefusesWhatWindowsRefuses) {
    using Action = std::function<platform::WinError(Machine&, platform::Spooler&)>;
    struct Case {
        const char* name;
        std::string printers;  // registry.reg keys beside the common ones
        const char* json;
        Action action;  // its last call's result is the one expected
        platform::WinError expected;
        std::vector<std::wstring> listed;  // EnumPrintersW afterwards
    };
    const auto withProcessor = [](const std::string& name, const std::string& processor,
                                  const std::string& port = "USB001") {
        return Key(kPrint + "\\Printers\\" + name,
                   {"\"Printer Driver\"=\"Model A\"", "\"Port\"=\"" + port + "\"",
                    "\"Print Processor\"=\"" + processor + "\""});
    };
    const auto deletePrinter = [](platform::Spooler& spooler, const std::wstring& name) {
        std::unique_ptr<platform::Printer> printer;
        if (const auto error = spooler.OpenPrinter(name, platform::kPrinterAllAccess, printer))
            return error;
        if (const auto error = printer->Control(platform::kPrinterControlPurge))
            return error;
        return printer->Delete();
    };
    // Deletes the printer "Office", which must succeed, then makes `call`.
    const auto afterOffice = [&](Action call) -> Action {
        return [=](Machine& machine, platform::Spooler& spooler) {
            const auto error = deletePrinter(spooler, L"Office");
            return error ? error : call(machine, spooler);
        };
    };
    const Action deleteDriver = [](Machine&, platform::Spooler& spooler) {
        return spooler.DeletePrinterDriver(L"", L"Model A", platform::kDeleteUnusedFiles);
    };
    const Action deleteProcessor = [](Machine&, platform::Spooler& spooler) {
        return spooler.DeletePrintProcessor(L"", L"cvapp");
    };
    const Action deleteX86Processor = [](Machine&, platform::Spooler& spooler) {
        return spooler.DeletePrintProcessor(kX86, L"CVAPP");
    };
    const Action deleteTcp = [](Machine&, platform::Spooler& spooler) {
        return spooler.DeleteMonitor(L"TCP");
    };
    const Action openOffice = [](Machine&, platform::Spooler& spooler) {
        std::unique_ptr<platform::Printer> printer;
        return spooler.OpenPrinter(L"Office", platform::kPrinterAllAccess, printer);
    };
    const Action addOffice = [](Machine&, platform::Spooler& spooler) {
        platform::PrinterInfo2 info;
        info.printerName = L"Office";
        info.driverName = L"Model A";
        info.portName = L"USB001";
        info.printProcessor = L"winprint";
        std::unique_ptr<platform::Printer> printer;
        return spooler.AddPrinter(info, printer);
    };
    const Action freshStart = [](Machine& machine, platform::Spooler& spooler) {
        SimSpooler::EndPendingDeletions(machine.Platform().registry);
        return spooler.DeletePrinterDriver(L"", L"Model A", 0);
    };
    const Action chooseDefault = [](Machine&, platform::Spooler& spooler) {
        return spooler.SetDefaultPrinter(L"");
    };
    const char* printing = R"({"faults": {"busyPrinters": {"Office": "printing"}}})";
    const char* openElsewhere = R"({"faults": {"busyPrinters": {"office": "otherHandleOpen"}}})";
    const std::string office = withProcessor("Office", "CVAPP", "IP_10.0.0.1");
    using V = std::vector<std::wstring>;
    const auto X = win::kSuccess;  // the call goes through
    const auto lobby = withProcessor("Lobby", "winprint");
    const auto pooled = withProcessor("Lobby", "winprint", "USB001, ip_10.0.0.1");
    const auto jobs = R"({"jobs": {"Office": 3}})";
    const auto inUse = win::kPrinterDriverInUse, busy = win::kCanNotComplete;
    const auto monitorBusy = win::kPrintMonitorInUse, badName = win::kInvalidPrinterName;
    // clang-format off
    const Case cases[] = {
        {"a print processor a printer uses", office, "{}", deleteProcessor, busy, V{L"Office"}},
        {"its 32-bit twin too", office, "{}", deleteX86Processor, busy, V{L"Office"}},
        {"a print processor only another's printer uses", lobby, "{}",
         deleteProcessor, X, V{L"Lobby"}},
        {"a monitor whose port a pooled printer uses", pooled, "{}",
         deleteTcp, monitorBusy, V{L"Lobby"}},
        {"a monitor whose ports no printer uses", lobby, "{}", deleteTcp, X, V{L"Lobby"}},
        {"a printer deleted at once frees its driver", office, jobs,
         afterOffice(deleteDriver), X, V{}},
        {"a job printing holds the driver", office, printing,
         afterOffice(deleteDriver), inUse, V{}},
        {"another program's handle holds it", office, openElsewhere,
         afterOffice(deleteDriver), inUse, V{}},
        {"pending deletion holds the processor", office, printing,
         afterOffice(deleteProcessor), busy, V{}},
        {"and its port's monitor", office, printing, afterOffice(deleteTcp), monitorBusy, V{}},
        {"it cannot be opened", office, printing, afterOffice(openOffice), badName, V{}},
        {"its name revives it", office, printing, afterOffice(addOffice), X, V{L"Office"}},
        {"a fresh start of the spooler ends it", office, printing, afterOffice(freshStart), X, V{}},
        {"no printer left for a new default", office, "{}",
         afterOffice(chooseDefault), badName, V{}},
    };
    // clang-format on
    const std::string processors = kPrint + "\\Environments\\Windows x64\\Print Processors\\";
    const std::string common =
        Driver("Windows x64", "Model A") + Key(processors + "CVAPP") +
        Key(processors + "winprint") +
        Key(kPrint + "\\Environments\\Windows NT x86\\Print Processors\\CVAPP") +
        Key(kPrint + "\\Monitors\\TCP\\Ports\\IP_10.0.0.1") +
        Key("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports",
            {"\"USB001\"=\"\""});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::TestMachine test;
        test.SetRegistry(common + c.printers);
        test.SetJson(c.json);
        const auto machine = test.Load();
        platform::Spooler& spooler = machine->Platform().spooler;
        EXPECT_EQ(c.action(*machine, spooler), c.expected);
        std::vector<platform::PrinterInfo2> printers;
        (void)spooler.EnumPrinters(platform::kPrinterEnumLocal | platform::kPrinterEnumConnections,
                                   printers);
        std::vector<std::wstring> listed;
        for (const auto& printer : printers)
            listed.push_back(printer.printerName);
        EXPECT_EQ(listed, c.listed);
    }
}

TEST_F(SimSpoolerTest, DefaultPrinterIsSetKeptOrChosenAgain) {
    m_test.SetRegistry(Printer("Office", "Model A", "USB001") +
                       Printer("Lobby", "Model B", "IP_10.0.0.1") +
                       DefaultPrinter("Office,winspool,USB001"));
    auto& spooler = Load();
    std::wstring name;
    EXPECT_EQ(spooler.SetDefaultPrinter(L"Nope"), win::kInvalidPrinterName);
    ASSERT_EQ(spooler.SetDefaultPrinter(L"lobby"), win::kSuccess);
    EXPECT_EQ(m_machine->Registry().Find(kWindowsKey)->FindValue(L"Device")->AsString(),
              L"Lobby,winspool,IP_10.0.0.1");
    // No name keeps a default that still exists.
    ASSERT_EQ(spooler.SetDefaultPrinter(L""), win::kSuccess);
    ASSERT_EQ(spooler.GetDefaultPrinter(name), win::kSuccess);
    EXPECT_EQ(name, L"Lobby");

    // Deleting the default printer clears it; no name then picks the first printer listed.
    std::unique_ptr<platform::Printer> lobby;
    ASSERT_EQ(spooler.OpenPrinter(L"Lobby", platform::kPrinterAllAccess, lobby), win::kSuccess);
    ASSERT_EQ(lobby->Delete(), win::kSuccess);
    EXPECT_EQ(spooler.GetDefaultPrinter(name), win::kFileNotFound);
    ASSERT_EQ(spooler.SetDefaultPrinter(L""), win::kSuccess);
    ASSERT_EQ(spooler.GetDefaultPrinter(name), win::kSuccess);
    EXPECT_EQ(name, L"Office");

    std::unique_ptr<platform::Printer> office;
    ASSERT_EQ(spooler.OpenPrinter(L"Office", platform::kPrinterAllAccess, office), win::kSuccess);
    ASSERT_EQ(office->Delete(), win::kSuccess);
    // With no printer left to choose the spooler refuses.
    EXPECT_EQ(spooler.SetDefaultPrinter(L""), win::kInvalidPrinterName);
    EXPECT_EQ(spooler.GetDefaultPrinter(name), win::kFileNotFound);

    const auto journal = JournalOf(*m_machine);
    EXPECT_EQ(journal,
              (std::vector<std::wstring>{
                  L"SetDefaultPrinter \"Nope\" -> 1801", L"SetDefaultPrinter \"lobby\"",
                  L"SetDefaultPrinter \"\" (keeps \"Lobby\")", L"DeletePrinter \"Lobby\"",
                  L"SetDefaultPrinter \"\" (chose \"Office\")", L"DeletePrinter \"Office\"",
                  L"SetDefaultPrinter \"\" -> 1801 (no printer left)"}));
}

}  // namespace
}  // namespace norvane::sim
