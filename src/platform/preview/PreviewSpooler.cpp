#include "platform/preview/PreviewSpooler.h"

#include <algorithm>

#include "platform/ChangeText.h"
#include "platform/SpoolerRefusals.h"
#include "support/Text.h"

namespace norvane::preview {
namespace {

namespace win = platform::win;
using platform::EnvironmentName;

// An open printer of the machine whose changes go to the preview.
class PreviewPrinter : public platform::Printer {
public:
    PreviewPrinter(PreviewSpooler& spooler, std::wstring name,
                   std::unique_ptr<platform::Printer> machine)
        : m_spooler(spooler), m_name(std::move(name)), m_machine(std::move(machine)) {}

    platform::WinError Control(std::uint32_t command) override {
        return m_spooler.Purge(m_name, command);
    }
    platform::WinError Delete() override { return m_spooler.DeletePrinter(m_name); }
    // A printer the preview only would have added has nothing on the machine to read.
    platform::WinError DocumentProperties(std::vector<std::uint8_t>& devmode) override {
        return m_machine ? m_machine->DocumentProperties(devmode) : win::kInvalidHandle;
    }
    platform::WinError GetDriver(const std::wstring& environment,
                                 platform::DriverInfo3& info) override {
        return m_machine ? m_machine->GetDriver(environment, info) : win::kInvalidHandle;
    }
    platform::WinError MergeDocumentProperties(const std::vector<std::uint8_t>& in,
                                               std::vector<std::uint8_t>& out) override {
        return m_machine ? m_machine->MergeDocumentProperties(in, out) : win::kInvalidHandle;
    }
    platform::WinError SetDefaultDevMode(const std::vector<std::uint8_t>&) override {
        return m_spooler.SetDefaultDevMode(m_name);
    }

private:
    PreviewSpooler& m_spooler;
    std::wstring m_name;
    std::unique_ptr<platform::Printer> m_machine;
};

std::wstring Folded(const std::wstring& environment, const std::wstring& name) {
    return text::LowerAscii(EnvironmentName(environment) + L"|" + name);
}

}  // namespace

bool PreviewSpooler::PrinterGone(const std::wstring& name) const {
    return m_deletedPrinters.contains(text::LowerAscii(name));
}

platform::WinError PreviewSpooler::EnumDrivers(const std::wstring& environment,
                                               std::vector<platform::DriverInfo6>& drivers) {
    const platform::WinError error = m_machine.EnumDrivers(environment, drivers);
    std::erase_if(drivers, [&](const platform::DriverInfo6& driver) {
        return m_deletedDrivers.contains(Folded(environment, driver.name));
    });
    return error;
}

platform::WinError PreviewSpooler::EnumPrinters(std::uint32_t flags,
                                                std::vector<platform::PrinterInfo2>& printers) {
    const platform::WinError error = m_machine.EnumPrinters(flags, printers);
    std::erase_if(printers, [&](const platform::PrinterInfo2& printer) {
        return PrinterGone(printer.printerName);
    });
    return error;
}

bool PreviewSpooler::FindPrinter(const std::wstring& name, platform::PrinterInfo2& found) {
    std::vector<platform::PrinterInfo2> printers;
    EnumPrinters(platform::kPrinterEnumLocal | platform::kPrinterEnumConnections, printers);
    for (auto& printer : printers) {
        if (text::EqualsNoCase(printer.printerName, name)) {
            found = std::move(printer);
            return true;
        }
    }
    return false;
}

platform::WinError PreviewSpooler::OpenPrinter(const std::wstring& name, std::uint32_t access,
                                               std::unique_ptr<platform::Printer>& printer) {
    printer.reset();
    if (PrinterGone(name))
        return win::kInvalidPrinterName;
    std::unique_ptr<platform::Printer> machine;
    if (const auto error = m_machine.OpenPrinter(name, access, machine))
        return error;
    printer = std::make_unique<PreviewPrinter>(*this, name, std::move(machine));
    return win::kSuccess;
}

platform::WinError PreviewSpooler::DeletePrinterConnection(const std::wstring& name) {
    platform::PrinterInfo2 printer;
    // A local queue is no connection: the spooler refuses, and the caller goes on to the queue.
    if (!FindPrinter(name, printer) || printer.serverName.empty())
        return win::kInvalidPrinterName;
    m_changes.Add(L"DeletePrinterConnection", {name});
    m_deletedPrinters.insert(text::LowerAscii(name));
    return win::kSuccess;
}

platform::WinError PreviewSpooler::Purge(const std::wstring& printer, std::uint32_t command) {
    if (PrinterGone(printer))
        return win::kPrinterDeleted;
    m_changes.Add(L"SetPrinter", {printer, platform::PrinterControlName(command)});
    return win::kSuccess;
}

platform::WinError PreviewSpooler::SetDefaultDevMode(const std::wstring& printer) {
    if (PrinterGone(printer))
        return win::kPrinterDeleted;
    m_changes.Add(L"SetPrinter", {printer, L"8"});
    return win::kSuccess;
}

platform::WinError PreviewSpooler::AddPrinter(const platform::PrinterInfo2& info,
                                              std::unique_ptr<platform::Printer>& printer) {
    m_changes.Add(L"AddPrinter", {info.printerName, info.driverName, info.portName});
    m_deletedPrinters.erase(text::LowerAscii(info.printerName));
    printer = std::make_unique<PreviewPrinter>(*this, info.printerName, nullptr);
    return win::kSuccess;
}

platform::WinError PreviewSpooler::GetDriverPrintProcessor(const std::wstring& environment,
                                                           const std::wstring& driver,
                                                           std::wstring& printProcessor) {
    return m_machine.GetDriverPrintProcessor(environment, driver, printProcessor);
}

platform::WinError PreviewSpooler::DeletePrinter(const std::wstring& printer) {
    if (PrinterGone(printer))
        return win::kPrinterDeleted;
    m_changes.Add(L"DeletePrinter", {printer});
    m_deletedPrinters.insert(text::LowerAscii(printer));
    return win::kSuccess;
}

platform::WinError PreviewSpooler::DeletePrinterDriver(const std::wstring& environment,
                                                       const std::wstring& name,
                                                       std::uint32_t deleteFlags) {
    std::vector<platform::DriverInfo6> drivers;
    if (const auto error = EnumDrivers(environment, drivers))
        return error;
    const auto driver = std::find_if(
        drivers.begin(), drivers.end(),
        [&](const platform::DriverInfo6& driver) { return text::EqualsNoCase(driver.name, name); });
    if (driver == drivers.end())
        return win::kUnknownPrinterDriver;
    std::vector<platform::PrinterInfo2> printers;
    EnumPrinters(platform::kPrinterEnumLocal | platform::kPrinterEnumConnections, printers);
    for (const auto& printer : printers) {
        if (text::EqualsNoCase(printer.driverName, name))
            return win::kPrinterDriverInUse;
    }
    // Whether the spooler still holds the driver until a restart cannot be known beforehand.
    m_changes.Add(L"DeletePrinterDriverEx", {EnvironmentName(environment), name});
    m_deletedDrivers.insert(Folded(environment, name));
    if (deleteFlags & platform::kDeleteUnusedFiles)
        DeleteUnusedFiles(environment, *driver);
    return win::kSuccess;
}

void PreviewSpooler::DeleteUnusedFiles(const std::wstring& environment,
                                       const platform::DriverInfo6& deleted) {
    auto filesOf = [](const platform::DriverInfo6& driver) {
        std::vector<std::wstring> files = {driver.driverPath, driver.dataFile, driver.configFile,
                                           driver.helpFile};
        files.insert(files.end(), driver.dependentFiles.begin(), driver.dependentFiles.end());
        std::erase(files, std::wstring());
        return files;
    };
    std::vector<platform::DriverInfo6> remaining;
    EnumDrivers(environment, remaining);
    std::set<std::wstring> stillNamed;
    for (const auto& driver : remaining) {
        for (const auto& file : filesOf(driver))
            stillNamed.insert(FoldedPath(file));
    }
    for (const auto& file : filesOf(deleted)) {
        if (!stillNamed.contains(FoldedPath(file)))
            m_files.DeletedOutside(file);
    }
}

// Refused as the spooler refuses from its keys; a refusal the registry does not show (a monitor or
// print processor held in some other way) cannot be known beforehand, so the rest is taken as
// deleted.
platform::WinError PreviewSpooler::DeleteMonitor(const std::wstring& name) {
    if (m_deletedMonitors.contains(text::LowerAscii(name)))
        return win::kUnknownPrintMonitor;
    std::wstring key;
    const auto gone = [this](const std::wstring& printer) { return PrinterGone(printer); };
    if (const auto refused = platform::MonitorToDelete(m_registry, name, key, gone))
        return refused;
    m_deletedMonitors.insert(text::LowerAscii(name));
    m_changes.Add(L"DeleteMonitor", {name});
    return win::kSuccess;
}

platform::WinError PreviewSpooler::DeletePrintProcessor(const std::wstring& environment,
                                                        const std::wstring& name) {
    if (m_deletedProcessors.contains(Folded(environment, name)))
        return win::kUnknownPrintProcessor;
    std::wstring key;
    const auto gone = [this](const std::wstring& printer) { return PrinterGone(printer); };
    if (const auto refused =
            platform::PrintProcessorToDelete(m_registry, environment, name, key, gone))
        return refused;
    m_deletedProcessors.insert(Folded(environment, name));
    m_changes.Add(L"DeletePrintProcessor", {EnvironmentName(environment), name});
    return win::kSuccess;
}

platform::WinError PreviewSpooler::GetDefaultPrinter(std::wstring& name) {
    const platform::WinError error = m_machine.GetDefaultPrinter(name);
    if (error == win::kSuccess && PrinterGone(name)) {
        name.clear();
        return win::kFileNotFound;
    }
    return error;
}

platform::WinError PreviewSpooler::SetDefaultPrinter(const std::wstring& name) {
    platform::PrinterInfo2 printer;
    if (!name.empty() && !FindPrinter(name, printer))
        return win::kInvalidPrinterName;
    // Without a name a default that is still there stays; which printer the spooler would choose
    // instead is its own decision, and with none left it refuses.
    std::wstring current;
    if (name.empty() && GetDefaultPrinter(current) == win::kSuccess)
        return win::kSuccess;
    std::vector<platform::PrinterInfo2> printers;
    if (name.empty() &&
        EnumPrinters(platform::kPrinterEnumLocal | platform::kPrinterEnumConnections, printers) ==
            win::kSuccess &&
        printers.empty()) {
        return win::kInvalidPrinterName;
    }
    m_changes.Add(L"SetDefaultPrinter",
                  name.empty() ? std::vector<std::wstring>{} : std::vector{name});
    return win::kSuccess;
}

}  // namespace norvane::preview
