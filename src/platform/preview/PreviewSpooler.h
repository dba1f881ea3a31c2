// The print spooler in a preview: enumerations see the printers, drivers, monitors and print
// processors the changes so far would have left; every deletion is recorded and answered as the
// spooler would answer it where the preview can know (no such printer or driver, a driver a
// printer still uses, a monitor a printer uses a port of, a print processor a printer uses or
// that is not registered, read from the registry as the spooler reads them, less the printers
// the preview deleted; no printer left for a new default), else with success; the spooler itself
// is only read. A printer the run would leave pending deletion cannot be foreseen.
#pragma once

#include <set>
#include <string>

#include "platform/Registry.h"
#include "platform/Spooler.h"
#include "platform/preview/ChangeList.h"
#include "platform/preview/PreviewFileSystem.h"

namespace norvane::preview {

class PreviewSpooler : public platform::Spooler {
public:
    // `registry` is the preview's own, so that the spooler's keys read as the changes left them.
    PreviewSpooler(platform::Spooler& machine, platform::Registry& registry, ChangeList& changes,
                   PreviewFileSystem& files)
        : m_machine(machine), m_registry(registry), m_changes(changes), m_files(files) {}

    platform::WinError EnumDrivers(const std::wstring& environment,
                                   std::vector<platform::DriverInfo6>& drivers) override;
    platform::WinError EnumPrinters(std::uint32_t flags,
                                    std::vector<platform::PrinterInfo2>& printers) override;
    platform::WinError OpenPrinter(const std::wstring& name, std::uint32_t access,
                                   std::unique_ptr<platform::Printer>& printer) override;
    platform::WinError DeletePrinterConnection(const std::wstring& name) override;
    platform::WinError AddPrinter(const platform::PrinterInfo2& info,
                                  std::unique_ptr<platform::Printer>& printer) override;
    platform::WinError GetDriverPrintProcessor(const std::wstring& environment,
                                               const std::wstring& driver,
                                               std::wstring& printProcessor) override;
    platform::WinError DeletePrinterDriver(const std::wstring& environment,
                                           const std::wstring& name,
                                           std::uint32_t deleteFlags) override;
    platform::WinError DeleteMonitor(const std::wstring& name) override;
    platform::WinError DeletePrintProcessor(const std::wstring& environment,
                                            const std::wstring& name) override;
    platform::WinError GetDefaultPrinter(std::wstring& name) override;
    platform::WinError SetDefaultPrinter(const std::wstring& name) override;

    // An open printer's changes: recorded under its name, its deletion remembered.
    platform::WinError Purge(const std::wstring& printer, std::uint32_t command);
    platform::WinError DeletePrinter(const std::wstring& printer);
    platform::WinError SetDefaultDevMode(const std::wstring& printer);

private:
    bool PrinterGone(const std::wstring& name) const;
    // DPD_DELETE_UNUSED_FILES: the spooler deletes the driver's files no remaining driver of the
    // environment names.
    void DeleteUnusedFiles(const std::wstring& environment, const platform::DriverInfo6& deleted);
    // The printer of that name as the changes so far left it; false when there is none.
    bool FindPrinter(const std::wstring& name, platform::PrinterInfo2& found);

    platform::Spooler& m_machine;
    platform::Registry& m_registry;
    ChangeList& m_changes;
    PreviewFileSystem& m_files;
    std::set<std::wstring> m_deletedPrinters;  // folded names
    std::set<std::wstring> m_deletedDrivers;   // folded "<environment>|<name>"
    std::set<std::wstring> m_deletedMonitors;
    std::set<std::wstring> m_deletedProcessors;  // folded "<environment>|<name>"
};

}  // namespace norvane::preview
