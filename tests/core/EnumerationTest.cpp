#include "inventory/Enumeration.h"

#include <gtest/gtest.h>

#include "app/Report.h"
#include "harness/TestMachine.h"

namespace norvane {
namespace {

const std::string kPrint = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print";

std::string Driver(const std::string& environment, const std::string& name,
                   const std::string& provider, const std::string& printProcessor = "") {
    std::string key = "[" + kPrint + "\\Environments\\" + environment + "\\Drivers\\Version-3\\" +
                      name + "]\r\n\"Configuration File\"=\"CVMA_UI.DLL\"\r\n";
    if (!provider.empty())
        key += "\"Provider\"=\"" + provider + "\"\r\n";
    if (!printProcessor.empty())
        key += "\"Print Processor\"=\"" + printProcessor + "\"\r\n";
    return key + "\r\n";
}

std::string Printer(const std::string& name, const std::string& driver,
                    const std::string& printProcessor = "winprint") {
    return "[" + kPrint + "\\Printers\\" + name + "]\r\n\"Printer Driver\"=\"" + driver +
           "\"\r\n\"Print Processor\"=\"" + printProcessor + "\"\r\n\r\n";
}

constexpr char kConfig[] =
    "[Common]\r\nOEMPROVIDER=corvida\r\n[Driver]\r\nD1=Model A\r\nD2=Model B\r\nD3=Other Make\r\n";

class EnumerationTest : public ::testing::Test {
protected:
    void Load() {
        m_test.InstallProgram(kConfig);
        m_machine = m_test.Load();
        app = std::make_unique<CUninstallerController>(m_machine->Platform());
        app->g_strOemProvider = L"Corvida";
    }
    CDriverData& DriverNamed(const std::wstring& name) {
        for (auto& driver : app->m_arrDriver) {
            if (driver->DriverName() == name)
                return *driver;
        }
        throw std::runtime_error("no such driver record");
    }

    testing::TestMachine m_test;
    std::unique_ptr<sim::Machine> m_machine;
    std::unique_ptr<CUninstallerController> app;
    const StopReport stop = [this](const std::wstring& message, std::uint32_t code) {
        ReportResult(*app, message, ReportKind::Stop, code);
    };
};

TEST_F(EnumerationTest, KeepsTheProvidersDriversAndThePackagesPrinters) {
    m_test.SetRegistry(Driver("Windows x64", "Model A", "Corvida") +
                       Driver("Windows x64", "Model B", "CORVIDA", "CVBPP") +
                       Driver("Windows x64", "Unlisted", "Corvida") +
                       Driver("Windows x64", "Other Make", "Microsoft") +
                       Driver("Windows x64", "No Provider", "") +
                       Driver("Windows NT x86", "model a", "Corvida") +
                       Driver("Windows NT x86", "Other Make", "Microsoft") +
                       Printer("Office", "Model A", "CVAPP") + Printer("Lobby", "model a") +
                       Printer("Plain", "Unlisted", "UNPP") + Printer("PDF", "Other Make"));
    Load();
    EXPECT_EQ(EnumerateDrivers(*app, *app, *app), 0);
    ASSERT_EQ(app->m_arrDriver.size(), 3u);
    EXPECT_EQ(app->m_arrX86DriverName, (CmyStringArray{L"model a"}));
    EXPECT_EQ(DriverNamed(L"Model A").HasX86Driver(), 1);
    EXPECT_EQ(DriverNamed(L"Model B").HasX86Driver(), 0);
    EXPECT_EQ(DriverNamed(L"Unlisted").InPackage(), 0);

    EXPECT_EQ(EnumeratePrinters(*app, *app), 0);
    ASSERT_EQ(app->m_arrPrinter.size(), 2u);
    EXPECT_EQ(app->m_arrPrinter[0]->PrinterName(), L"Lobby");  // the spooler's order
    EXPECT_EQ(app->m_arrPrinter[1]->Driver(), &DriverNamed(L"Model A"));
    EXPECT_EQ(DriverNamed(L"Model A").PrinterCount(), 2);
    // The later printer's print processor wins; winprint counts as none.
    EXPECT_EQ(DriverNamed(L"Model A").PrintProcessor(), L"CVAPP");
    // An unlisted driver gives no printer but still takes its printer's print processor.
    EXPECT_EQ(DriverNamed(L"Unlisted").PrintProcessor(), L"UNPP");
    // A listed driver without printers reads its own registry key.
    EXPECT_EQ(DriverNamed(L"Model B").PrinterCount(), 0);
    EXPECT_EQ(DriverNamed(L"Model B").PrintProcessor(), L"CVBPP");
}

TEST_F(EnumerationTest, DriverWithoutPrintersAndWithoutValueKeepsNoPrintProcessor) {
    m_test.SetRegistry(Driver("Windows x64", "Model A", "Corvida") +
                       Driver("Windows x64", "Model B", "Corvida", "WinPrint"));
    Load();
    EnumerateDrivers(*app, *app, *app);
    EXPECT_EQ(EnumeratePrinters(*app, *app), 1);
    EXPECT_FALSE(DriverNamed(L"Model A").PrintProcessor().has_value());
    EXPECT_EQ(DriverNamed(L"Model B").PrintProcessor(), L"");
}

TEST_F(EnumerationTest, NothingOfThePackageStopsBothRuns) {
    m_test.SetRegistry(Driver("Windows x64", "Unlisted", "Corvida") + Printer("Plain", "Unlisted"));
    Load();
    app->m_bWriteLog = 1;
    app->m_bDriversGiven = 1;
    app->m_arrDesignated = CmyStringArray{L"Model A"};
    app->log.SetPath(testing::kLogFile);
    EXPECT_EQ(EnumerateInstalled(*app, *app, *app, 0, 1, stop), 0);
    EXPECT_TRUE(app->m_arrPrinter.empty());  // the silent run does not enumerate printers
    EXPECT_EQ(m_test.Ini(testing::kLogFile, L"UninstResult", L"Model A"), L"4");

    EXPECT_EQ(EnumerateInstalled(*app, *app, *app, 1, 1, stop), 0);
    EXPECT_EQ(EnumerateInstalled(*app, *app, *app, 1, 0, stop), 1);
}

TEST_F(EnumerationTest, InteractiveRunGoesOnWithAPackageDriver) {
    m_test.SetRegistry(Driver("Windows x64", "Model B", "Corvida"));
    Load();
    EXPECT_EQ(EnumerateInstalled(*app, *app, *app, 1, 1, stop), 1);
    EXPECT_EQ(EnumerateInstalled(*app, *app, *app, 0, 1, stop), 1);
}

}  // namespace
}  // namespace norvane
