#include "inventory/Enumeration.h"

#include <set>
#include <unordered_map>
#include <vector>

#include "app/Controller.h"
#include "app/Report.h"
#include "log/LogBatch.h"
#include "support/Text.h"

namespace norvane {
namespace {

constexpr std::size_t kRegistryPathBuffer = 4096;
constexpr std::uint32_t kRegistryValueBuffer = 4096;

bool OfProvider(const platform::DriverInfo6& driver, const std::wstring& provider) {
    return driver.provider && text::EqualsNoCase(*driver.provider, provider);
}

// Keeps the first failed enumeration's error: one failure makes the whole inventory unknown.
void Note(CUninstallerController& app, platform::WinError error) {
    if (error != platform::win::kSuccess && app.m_nEnumerationError == platform::win::kSuccess)
        app.m_nEnumerationError = error;
}

bool AnyInPackage(const CUninstallerController& app) {
    for (const auto& driver : app.m_arrDriver) {
        if (driver->InPackage())
            return true;
    }
    return false;
}

}  // namespace

int EnumerateX86Drivers(CUninstallerController& app) {
    std::vector<platform::DriverInfo6> drivers;
    Note(app, app.P().spooler.EnumDrivers(platform::kEnvironmentX86, drivers));
    for (const auto& driver : drivers) {
        if (OfProvider(driver, app.g_strOemProvider))
            app.m_arrX86DriverName.push_back(driver.name);
    }
    return app.m_arrX86DriverName.empty() ? 1 : 0;
}

int EnumerateDrivers(CUninstallerController& app) {
    app.m_arrDriver.clear();
    app.m_arrX86DriverName.clear();
    EnumerateX86Drivers(app);
    std::vector<platform::DriverInfo6> drivers;
    Note(app, app.P().spooler.EnumDrivers(L"", drivers));
    const PackageConfig& config = app.Config();
    // Looked up once per native driver: a print server has thousands of each.
    const std::set<std::wstring, text::NoCaseLess> x86Names(app.m_arrX86DriverName.begin(),
                                                            app.m_arrX86DriverName.end());
    for (const auto& info : drivers) {
        if (!OfProvider(info, app.g_strOemProvider))
            continue;
        auto driver = std::make_unique<CDriverData>(
            info.name, info.dependentFiles, info.monitorName, info.hardwareId, info.configFile);
        driver->SetInPackage(config.IsDriverInPackage(info.name));
        if (x86Names.contains(info.name))
            driver->SetHasX86Driver(1);
        app.m_arrDriver.push_back(std::move(driver));
    }
    return app.m_arrDriver.empty() ? 1 : 0;
}

int EnumeratePrinters(CUninstallerController& app) {
    app.m_arrPrinter.clear();
    std::vector<platform::PrinterInfo2> printers;
    Note(app, app.P().spooler.EnumPrinters(
                  platform::kPrinterEnumLocal | platform::kPrinterEnumConnections, printers));
    // The drivers by name, folded, each name's drivers in list order.
    std::unordered_map<std::wstring, std::vector<CDriverData*>> byName;
    for (const auto& driver : app.m_arrDriver)
        byName[text::LowerAscii(driver->DriverName())].push_back(driver.get());
    for (const auto& printer : printers) {
        const auto named = byName.find(text::LowerAscii(printer.driverName));
        if (named == byName.end())
            continue;
        for (CDriverData* driver : named->second) {
            driver->SetPrintProcessor(&printer.printProcessor);
            if (driver->InPackage()) {
                app.m_arrPrinter.push_back(
                    std::make_unique<CPrinterData>(printer.printerName, driver));
                driver->SetPrinterCount(driver->PrinterCount() + 1);
            }
        }
    }
    // Drivers without printers take their print processor from their own registry key.
    for (const auto& driver : app.m_arrDriver) {
        if (driver->PrinterCount() != 0)
            continue;
        const std::wstring path = kX64DriversKey + driver->DriverName();
        if (path.size() >= kRegistryPathBuffer)
            continue;
        platform::RegValue value;
        if (app.P().registry.QueryValue(platform::RootKey::LocalMachine, path, L"Print Processor",
                                        kRegistryValueBuffer, value) == platform::win::kSuccess) {
            const std::wstring name = value.AsString();
            driver->SetPrintProcessor(&name);
        }
    }
    return app.m_arrPrinter.empty() ? 1 : 0;
}

int EnumerateInstalled(CUninstallerController& app, int interactive, int checkPackage) {
    app.m_nEnumerationError = platform::win::kSuccess;
    EnumerateDrivers(app);
    // The silent run needs printers only when the package is installed; an unknown inventory
    // stops it before either question is asked.
    const bool wantPrinters = !checkPackage || interactive || AnyInPackage(app);
    if (wantPrinters && app.m_nEnumerationError == platform::win::kSuccess)
        EnumeratePrinters(app);
    if (const platform::WinError error = app.m_nEnumerationError) {
        ReportResult(app, app.LoadText(161) + L"\r\n\r\n" + ErrorText(app.P(), error), ReportKind::Stop, 1);
        return 0;
    }
    if (!checkPackage || AnyInPackage(app) || (interactive && !app.m_arrPrinter.empty()))
        return 1;
    app.m_bNothingInstalled = 1;
    ReportResult(app, app.LoadText(154), ReportKind::Stop, 4);
    return 0;
}

}  // namespace norvane
