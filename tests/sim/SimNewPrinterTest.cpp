// The simulated spooler's new printers: AddPrinterW's refusals, the keys of a new printer, the
// DEVMODE its driver takes, and the print processor a driver asks for.
#include <gtest/gtest.h>

#include "harness/TestMachine.h"
#include "platform/sim/SimSpooler.h"
#include "sim/SpoolerMachine.h"

namespace norvane::sim {
namespace {

namespace win = platform::win;
using test::Driver;
using test::JournalOf;
using test::Key;
using test::kPrint;
using test::Printer;

constexpr platform::WinError kInvalidShareName = 1215;

// A driver, its print processor, the three kinds of port and one printer already there.
std::string Spooler() {
    return Driver("Windows x64", "Model A v2", {"\"Print Processor\"=\"CVAPP\""}) +
           Driver("Windows x64", "Plain") + Driver("Windows NT x86", "Only x86") +
           Key(kPrint + "\\Environments\\Windows x64\\Print Processors\\CVAPP") +
           Key(kPrint + "\\Environments\\Windows x64\\Print Processors\\winprint") +
           Key("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports",
               {"\"LPT1:\"=\"\""}) +
           Key(kPrint + "\\Monitors\\Standard TCP/IP Port\\Ports\\IP_10.0.0.5") +
           Key("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\"
               "{28d78fad-5a12-11d1-ae5b-0000f803a8c2}\\##?#USB#VID_1234#1\\#\\Device Parameters",
               {"\"Port Name\"=\"USB003\""}) +
           Printer("Office", "Model A v2") +
           Key(kPrint + "\\Printers\\Shared", {"\"Share Name\"=\"FRONT\""});
}

platform::PrinterInfo2 NewPrinter(std::wstring name, std::wstring driver, std::wstring port,
                                  std::wstring processor = L"winprint", std::wstring share = L"") {
    platform::PrinterInfo2 info;
    info.printerName = std::move(name);
    info.driverName = std::move(driver);
    info.portName = std::move(port);
    info.printProcessor = std::move(processor);
    info.shareName = std::move(share);
    info.attributes = info.shareName.empty() ? 0 : platform::kPrinterAttributeShared;
    return info;
}

struct AddCase {
    const char* what;
    platform::PrinterInfo2 info;
    platform::WinError error;
};

TEST(SimNewPrinterTest, AddPrinterRefusesWhatWindowsRefuses) {
    const AddCase cases[] = {
        {"USB port", NewPrinter(L"New", L"Model A v2", L"USB003"), win::kSuccess},
        {"TCP/IP port", NewPrinter(L"New", L"model a V2", L"ip_10.0.0.5"), win::kSuccess},
        {"local port", NewPrinter(L"New", L"Plain", L"LPT1:"), win::kSuccess},
        {"shared", NewPrinter(L"New", L"Plain", L"LPT1:", L"winprint", L"NEWSHARE"), win::kSuccess},
        {"exists", NewPrinter(L"OFFICE", L"Plain", L"LPT1:"), win::kPrinterAlreadyExists},
        {"no driver", NewPrinter(L"New", L"Model A", L"LPT1:"), win::kUnknownPrinterDriver},
        {"x86 driver only", NewPrinter(L"New", L"Only x86", L"LPT1:"), win::kUnknownPrinterDriver},
        {"no port", NewPrinter(L"New", L"Plain", L"USB009"), win::kUnknownPort},
        {"empty port", NewPrinter(L"New", L"Plain", L""), win::kUnknownPort},
        {"no processor", NewPrinter(L"New", L"Plain", L"LPT1:", L"CVXX"),
         win::kUnknownPrintProcessor},
        {"share in use", NewPrinter(L"New", L"Plain", L"LPT1:", L"winprint", L"front"),
         kInvalidShareName},
        {"empty name", NewPrinter(L"", L"Plain", L"LPT1:"), win::kInvalidPrinterName},
        {"connection", NewPrinter(L"\\\\srv\\q", L"Plain", L"LPT1:"), win::kInvalidPrinterName},
        {"path", NewPrinter(L"..\\..\\Windows", L"Plain", L"LPT1:"), win::kInvalidPrinterName},
        {"comma", NewPrinter(L"a,winspool,LPT1:", L"Plain", L"LPT1:"), win::kInvalidPrinterName},
        {"too long", NewPrinter(std::wstring(221, L'x'), L"Plain", L"LPT1:"),
         win::kInvalidPrinterName},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testing::TestMachine test;
        test.SetRegistry(Spooler());
        auto machine = test.Load();
        std::unique_ptr<platform::Printer> printer;
        EXPECT_EQ(machine->Platform().spooler.AddPrinter(c.info, printer), c.error);
        EXPECT_EQ(printer != nullptr, c.error == win::kSuccess);
        std::vector<platform::PrinterInfo2> printers;
        (void)machine->Platform().spooler.EnumPrinters(platform::kPrinterEnumLocal, printers);
        EXPECT_EQ(printers.size(), c.error == win::kSuccess ? 3u : 2u);
        // Every call is journaled, a refused one with its error.
        const auto journal = JournalOf(*machine);
        ASSERT_EQ(journal.size(), 1u);
        EXPECT_TRUE(journal[0].starts_with(L"AddPrinter "));
        EXPECT_EQ(journal[0].find(L" -> ") == std::wstring::npos, c.error == win::kSuccess);
    }
}

TEST(SimNewPrinterTest, ANewPrinterHasTheKeysWindowsWritesAndItsSettings) {
    testing::TestMachine test;
    test.SetRegistry(Spooler());
    auto machine = test.Load();
    std::unique_ptr<platform::Printer> printer;
    ASSERT_EQ(machine->Platform().spooler.AddPrinter(
                  NewPrinter(L"Lobby", L"Model A v2", L"USB003", L"CVAPP", L"LOBBY"), printer),
              win::kSuccess);
    const RegKey* key = machine->Registry().Find(L"HKEY_LOCAL_MACHINE\\" +
                                                 std::wstring(kPrintPath) + L"\\Printers\\Lobby");
    ASSERT_NE(key, nullptr);
    const auto value = [&](const wchar_t* name) {
        const auto* found = key->FindValue(name);
        return found ? found->AsString() : std::wstring(L"<none>");
    };
    EXPECT_EQ(value(L"Name"), L"Lobby");
    EXPECT_EQ(value(L"Port"), L"USB003");
    EXPECT_EQ(value(L"Printer Driver"), L"Model A v2");
    EXPECT_EQ(value(L"Print Processor"), L"CVAPP");
    EXPECT_EQ(value(L"Share Name"), L"LOBBY");
    EXPECT_EQ(value(L"Datatype"), L"RAW");
    std::vector<platform::PrinterInfo2> printers;
    (void)machine->Platform().spooler.EnumPrinters(platform::kPrinterEnumLocal, printers);
    const auto lobby = std::find_if(printers.begin(), printers.end(),
                                    [](const auto& p) { return p.printerName == L"Lobby"; });
    ASSERT_NE(lobby, printers.end());
    EXPECT_EQ(lobby->attributes,
              platform::kPrinterAttributeShared | platform::kPrinterAttributeLocal);

    // Without settings of its own the printer answers with its driver's defaults; a DEVMODE of
    // the driver's layout replaces them, any other is refused and changes nothing.
    std::vector<std::uint8_t> defaults, merged;
    ASSERT_EQ(printer->DocumentProperties(defaults), win::kSuccess);
    ASSERT_EQ(defaults.size(), 220u);
    std::vector<std::uint8_t> saved = defaults;
    saved[70] = 4;  // dmDriverExtra: a private part of four bytes
    saved.insert(saved.end(), {'C', 'V', 'D', 'M'});
    ASSERT_EQ(printer->MergeDocumentProperties(saved, merged), win::kSuccess);
    EXPECT_EQ(merged, saved);
    ASSERT_EQ(printer->SetDefaultDevMode(merged), win::kSuccess);
    std::vector<std::uint8_t> now;
    (void)printer->DocumentProperties(now);
    EXPECT_EQ(now, saved);

    const std::pair<const char*, std::vector<std::uint8_t>> refused[] = {
        {"empty", {}},
        {"cut", std::vector<std::uint8_t>(saved.begin(), saved.end() - 1)},
        {"private part longer than said",
         [&] {
             auto longer = saved;
             longer.push_back(0);
             return longer;
         }()},
        {"other version",
         [&] {
             auto other = saved;
             other[64] = 0x00;
             return other;
         }()},
    };
    for (const auto& [what, devmode] : refused) {
        SCOPED_TRACE(what);
        EXPECT_EQ(printer->MergeDocumentProperties(devmode, merged), win::kInvalidParameter);
        EXPECT_EQ(printer->SetDefaultDevMode(devmode), win::kInvalidParameter);
        (void)printer->DocumentProperties(now);
        EXPECT_EQ(now, saved);
    }
}

TEST(SimNewPrinterTest, TheDriversPrintProcessor) {
    testing::TestMachine test;
    test.SetRegistry(Spooler());
    auto machine = test.Load();
    auto& spooler = machine->Platform().spooler;
    std::wstring processor = L"left over";
    EXPECT_EQ(spooler.GetDriverPrintProcessor(L"", L"MODEL A V2", processor), win::kSuccess);
    EXPECT_EQ(processor, L"CVAPP");
    EXPECT_EQ(spooler.GetDriverPrintProcessor(L"Windows x64", L"Plain", processor), win::kSuccess);
    EXPECT_EQ(processor, L"");
    EXPECT_EQ(spooler.GetDriverPrintProcessor(L"", L"Only x86", processor),
              win::kUnknownPrinterDriver);
    EXPECT_EQ(spooler.GetDriverPrintProcessor(L"Windows IA64", L"Plain", processor),
              win::kInvalidEnvironment);
}

}  // namespace
}  // namespace norvane::sim
