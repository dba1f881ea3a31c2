// An open printer of the simulated spooler: purge, delete, its DEVMODE and its driver.
#include "platform/sim/SimPrinter.h"

#include <gtest/gtest.h>

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

std::uint32_t LittleEndian(const std::vector<std::uint8_t>& bytes, std::size_t at,
                           std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i)
        value |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
    return value;
}

class SimPrinterTest : public ::testing::Test {
protected:
    std::unique_ptr<platform::Printer> Open(const std::wstring& name) {
        if (!m_machine)
            m_machine = m_test.Load();
        std::unique_ptr<platform::Printer> printer;
        EXPECT_EQ(
            m_machine->Platform().spooler.OpenPrinter(name, platform::kPrinterAllAccess, printer),
            win::kSuccess);
        return printer;
    }
    std::uint32_t Jobs(const std::wstring& name) {
        std::vector<platform::PrinterInfo2> printers;
        (void)m_machine->Platform().spooler.EnumPrinters(platform::kPrinterEnumLocal, printers);
        for (const auto& printer : printers) {
            if (printer.printerName == name)
                return printer.jobs;
        }
        throw std::runtime_error("no such printer");
    }

    testing::TestMachine m_test;
    std::unique_ptr<Machine> m_machine;
};

TEST_F(SimPrinterTest, LocalQueueIsPurgedAndDeletedAndItsHandleThenFails) {
    m_test.SetRegistry(Printer("Office", "Model A") + Printer("Lobby", "Model A") +
                       DefaultPrinter("Office,winspool,USB001"));
    m_test.SetJson(R"({"jobs": {"Office": 3, "Lobby": 1}})");
    auto office = Open(L"office");
    std::unique_ptr<platform::Printer> none;
    EXPECT_EQ(m_machine->Platform().spooler.OpenPrinter(L"Nope", 0, none),
              win::kInvalidPrinterName);
    EXPECT_EQ(none, nullptr);

    EXPECT_EQ(office->Control(1), win::kCallNotImplemented);  // pausing is not simulated
    ASSERT_EQ(office->Control(platform::kPrinterControlPurge), win::kSuccess);
    EXPECT_EQ(Jobs(L"Office"), 0u);
    EXPECT_EQ(Jobs(L"Lobby"), 1u);
    ASSERT_EQ(office->Delete(), win::kSuccess);
    std::wstring defaultPrinter;
    EXPECT_EQ(m_machine->Platform().spooler.GetDefaultPrinter(defaultPrinter), win::kFileNotFound);
    EXPECT_EQ(m_machine->Registry().Find(std::wstring(kPrintKey) + L"\\Printers\\Office"), nullptr);

    // The queue is gone: the handle's later calls fail, and the name opens no more.
    std::vector<std::uint8_t> devmode;
    platform::DriverInfo3 driver;
    EXPECT_EQ(office->Delete(), platform::win::kPrinterDeleted);
    EXPECT_EQ(office->Control(platform::kPrinterControlPurge), platform::win::kPrinterDeleted);
    EXPECT_EQ(office->DocumentProperties(devmode), platform::win::kPrinterDeleted);
    EXPECT_EQ(office->GetDriver(L"", driver), platform::win::kPrinterDeleted);
    EXPECT_EQ(m_machine->Platform().spooler.OpenPrinter(L"Office", 0, none),
              win::kInvalidPrinterName);

    // A queue deleted with jobs still queued takes them with it.
    ASSERT_EQ(Open(L"Lobby")->Delete(), win::kSuccess);
    EXPECT_TRUE(m_machine->Config().jobs.empty());
    EXPECT_EQ(JournalOf(*m_machine),
              (std::vector<std::wstring>{L"SetPrinter \"Office\" command=1 -> 120 (not simulated)",
                                         L"SetPrinter \"Office\" PRINTER_CONTROL_PURGE (3 jobs)",
                                         L"DeletePrinter \"Office\"", L"DeletePrinter \"Lobby\""}));
}

TEST_F(SimPrinterTest, FaultyPrinterAndConnectionsAreNotDeletedThroughAHandle) {
    m_test.SetRegistry(Printer("Office", "Model A") +
                       Key("HKEY_CURRENT_USER\\Printers\\Connections\\,,srv,Lobby",
                           {"\"Printer Driver\"=\"Model A\""}));
    m_test.SetJson(R"({"faults": {"printers": {"OFFICE": {"deleteError": 5}}}})");
    EXPECT_EQ(Open(L"Office")->Delete(), win::kAccessDenied);
    EXPECT_EQ(Open(L"\\\\srv\\lobby")->Delete(), win::kAccessDenied);
    EXPECT_NE(m_machine->Registry().Find(std::wstring(kPrintKey) + L"\\Printers\\Office"), nullptr);
    EXPECT_NE(m_machine->Registry().Find(std::wstring(kConnectionsKey) + L"\\,,srv,Lobby"),
              nullptr);
    EXPECT_EQ(JournalOf(*m_machine)[0], L"DeletePrinter \"Office\" -> 5 (fault)");
}

TEST_F(SimPrinterTest, DocumentPropertiesGivesTheSavedDevModeOrOneMadeFromTheDriverName) {
    const std::string longDriver = "Corvida Model A Series Universal PCL6 Driver";
    m_test.SetRegistry(
        Key(kPrint + "\\Printers\\Saved",
            {"\"Printer Driver\"=\"Model A\"", "\"Default DevMode\"=hex:4d,00,6f,00,64,00,00,00"}) +
        Printer("Plain", longDriver));
    std::vector<std::uint8_t> devmode;
    ASSERT_EQ(Open(L"Saved")->DocumentProperties(devmode), win::kSuccess);
    EXPECT_EQ(devmode, (std::vector<std::uint8_t>{0x4d, 0, 0x6f, 0, 0x64, 0, 0, 0}));

    ASSERT_EQ(Open(L"Plain")->DocumentProperties(devmode), win::kSuccess);
    ASSERT_EQ(devmode.size(), 220u);
    EXPECT_EQ(std::wstring(text::FromUtf16Le(devmode.data(), 64).c_str()),
              text::FromUtf8(longDriver.substr(0, 31)));
    EXPECT_EQ(LittleEndian(devmode, 64, 2), 0x0401u);  // dmSpecVersion
    EXPECT_EQ(LittleEndian(devmode, 68, 2), 220u);     // dmSize
    EXPECT_EQ(LittleEndian(devmode, 70, 2), 0u);       // dmDriverExtra
    EXPECT_EQ(LittleEndian(devmode, 72, 4), 0x103u);   // orientation, paper size, copies
    EXPECT_EQ(LittleEndian(devmode, 76, 2), 1u);       // portrait
    EXPECT_EQ(LittleEndian(devmode, 78, 2), 1u);       // Letter
    EXPECT_EQ(LittleEndian(devmode, 86, 2), 1u);       // one copy
    EXPECT_TRUE(JournalOf(*m_machine).empty());
}

TEST_F(SimPrinterTest, GetDriverGivesThePrintersDriverOfAnEnvironment) {
    m_test.SetRegistry(Printer("Office", "Model A") +
                       Driver("Windows x64", "Model A",
                              {"\"Driver\"=\"CVMA.DLL\"", "\"Configuration File\"=\"CVMA_UI.DLL\"",
                               "\"Monitor\"=\"LangMon\""}));
    auto office = Open(L"Office");
    platform::DriverInfo3 driver;
    ASSERT_EQ(office->GetDriver(L"", driver), win::kSuccess);
    EXPECT_EQ(driver.name, L"Model A");
    EXPECT_EQ(driver.environment, L"Windows x64");
    EXPECT_EQ(driver.configFile, L"C:\\Windows\\system32\\spool\\DRIVERS\\x64\\3\\CVMA_UI.DLL");
    EXPECT_EQ(driver.monitorName, L"LangMon");
    EXPECT_EQ(office->GetDriver(platform::kEnvironmentX86, driver), win::kUnknownPrinterDriver);
    EXPECT_EQ(office->GetDriver(L"Windows ARM", driver), platform::win::kInvalidEnvironment);
}

}  // namespace
}  // namespace norvane::sim
