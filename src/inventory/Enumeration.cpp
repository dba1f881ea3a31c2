#include "inventory/Enumeration.h"

#include <set>
#include <unordered_map>
#include <vector>

#include "log/LogBatch.h"
#include "log/RunContext.h"
#include "support/Text.h"

namespace norvane {
namespace {

constexpr std::size_t kRegistryPathBuffer = 4096;
constexpr std::uint32_t kRegistryValueBuffer = 4096;

bool OfProvider(const platform::DriverInfo6& driver, const std::wstring& provider) {
    return driver.provider && text::EqualsNoCase(*driver.provider, provider);
}

// Keeps the first failed enumeration's error: one failure makes the whole inventory unknown.
void Note(Inventory& inventory, platform::WinError error) {
    if (error != platform::win::kSuccess &&
        inventory.m_nEnumerationError == platform::win::kSuccess)
        inventory.m_nEnumerationError = error;
}

bool AnyInPackage(const Inventory& inventory) {
    for (const auto& driver : inventory.m_arrDriver) {
        if (driver->InPackage())
            return true;
    }
    return false;
}

}  // namespace

int EnumerateX86Drivers(RunContext& context, const Package& package, Inventory& inventory) {
    std::vector<platform::DriverInfo6> drivers;
    Note(inventory, context.P().spooler.EnumDrivers(platform::kEnvironmentX86, drivers));
    for (const auto& driver : drivers) {
        if (OfProvider(driver, package.g_strOemProvider))
            inventory.m_arrX86DriverName.push_back(driver.name);
    }
    return inventory.m_arrX86DriverName.empty() ? 1 : 0;
}

int EnumerateDrivers(RunContext& context, const Package& package, Inventory& inventory) {
    inventory.m_arrDriver.clear();
    inventory.m_arrX86DriverName.clear();
    EnumerateX86Drivers(context, package, inventory);
    std::vector<platform::DriverInfo6> drivers;
    Note(inventory, context.P().spooler.EnumDrivers(L"", drivers));
    const PackageConfig& config = package.Config();
    // Looked up once per native driver: a print server has thousands of each.
    const std::set<std::wstring, text::NoCaseLess> x86Names(inventory.m_arrX86DriverName.begin(),
                                                            inventory.m_arrX86DriverName.end());
    for (const auto& info : drivers) {
        if (!OfProvider(info, package.g_strOemProvider))
            continue;
        auto driver = std::make_unique<CDriverData>(
            info.name, info.dependentFiles, info.monitorName, info.hardwareId, info.configFile);
        driver->SetInPackage(config.IsDriverInPackage(info.name));
        if (x86Names.contains(info.name))
            driver->SetHasX86Driver(1);
        inventory.m_arrDriver.push_back(std::move(driver));
    }
    return inventory.m_arrDriver.empty() ? 1 : 0;
}

int EnumeratePrinters(RunContext& context, Inventory& inventory) {
    inventory.m_arrPrinter.clear();
    std::vector<platform::PrinterInfo2> printers;
    Note(inventory, context.P().spooler.EnumPrinters(
                        platform::kPrinterEnumLocal | platform::kPrinterEnumConnections, printers));
    // The drivers by name, folded, each name's drivers in list order.
    std::unordered_map<std::wstring, std::vector<CDriverData*>> byName;
    for (const auto& driver : inventory.m_arrDriver)
        byName[text::LowerAscii(driver->DriverName())].push_back(driver.get());
    for (const auto& printer : printers) {
        const auto named = byName.find(text::LowerAscii(printer.driverName));
        if (named == byName.end())
            continue;
        for (CDriverData* driver : named->second) {
            driver->SetPrintProcessor(&printer.printProcessor);
            if (driver->InPackage()) {
                inventory.m_arrPrinter.push_back(
                    std::make_unique<CPrinterData>(printer.printerName, driver));
                driver->SetPrinterCount(driver->PrinterCount() + 1);
            }
        }
    }
    // Drivers without printers take their print processor from their own registry key.
    for (const auto& driver : inventory.m_arrDriver) {
        if (driver->PrinterCount() != 0)
            continue;
        const std::wstring path = kX64DriversKey + driver->DriverName();
        if (path.size() >= kRegistryPathBuffer)
            continue;
        platform::RegValue value;
        if (context.P().registry.QueryValue(platform::RootKey::LocalMachine, path,
                                            L"Print Processor", kRegistryValueBuffer,
                                            value) == platform::win::kSuccess) {
            const std::wstring name = value.AsString();
            driver->SetPrintProcessor(&name);
        }
    }
    return inventory.m_arrPrinter.empty() ? 1 : 0;
}

int EnumerateInstalled(RunContext& context, const Package& package, Inventory& inventory,
                       int interactive, int checkPackage, const StopReport& stop) {
    inventory.m_nEnumerationError = platform::win::kSuccess;
    EnumerateDrivers(context, package, inventory);
    // The silent run needs printers only when the package is installed; an unknown inventory
    // stops it before either question is asked.
    const bool wantPrinters = !checkPackage || interactive || AnyInPackage(inventory);
    if (wantPrinters && inventory.m_nEnumerationError == platform::win::kSuccess)
        EnumeratePrinters(context, inventory);
    if (const platform::WinError error = inventory.m_nEnumerationError) {
        stop(context.LoadText(161) + L"\r\n\r\n" + ErrorText(context.P(), error), 1);
        return 0;
    }
    if (!checkPackage || AnyInPackage(inventory) ||
        (interactive && !inventory.m_arrPrinter.empty()))
        return 1;
    inventory.m_bNothingInstalled = 1;
    stop(context.LoadText(154), 4);
    return 0;
}

}  // namespace norvane
