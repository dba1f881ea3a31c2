#include "removal/PrinterRemoval.h"

#include "inventory/Records.h"
#include "support/Text.h"
#include "support/WinPath.h"

namespace norvane {
namespace {

constexpr std::uint32_t kPrinterAccessUse = 0x8;

}  // namespace

platform::WinError DeletePrinterEntry(platform::Spooler& spooler, const CPrinterData& printer) {
    const platform::WinError error = spooler.DeletePrinterConnection(printer.PrinterName());
    if (error == platform::win::kSuccess)
        return error;
    // Only a name that is no connection goes on to the local queue.
    if (error != platform::win::kInvalidPrinterName && error != platform::win::kInvalidName)
        return error;
    std::unique_ptr<platform::Printer> queue;
    if (const auto openError =
            spooler.OpenPrinter(printer.PrinterName(), platform::kPrinterAllAccess, queue))
        return openError;
    // Purging first lets a queue with pending jobs go.
    if (const auto purgeError = queue->Control(platform::kPrinterControlPurge))
        return purgeError;
    return queue->Delete();
}

void PrinterSettingsBackup::Save(const std::wstring& printerName) {
    if (!m_printers) {
        m_printers.emplace();
        (void)m_platform.spooler.EnumPrinters(
            platform::kPrinterEnumLocal | platform::kPrinterEnumConnections, *m_printers);
        for (std::size_t i = 0; i < m_printers->size(); ++i)
            m_byName[text::LowerAscii((*m_printers)[i].printerName)].push_back(i);
    }
    const auto found = m_byName.find(text::LowerAscii(printerName));
    if (found == m_byName.end())
        return;
    for (const std::size_t index : found->second) {
        const platform::PrinterInfo2& info = (*m_printers)[index];
        CSavedPrinterInfo saved;
        saved.printerName = info.printerName;
        saved.portName = info.portName;
        saved.driverName = info.driverName;
        saved.shareName = info.shareName;
        saved.defaultFlag =
            !m_defaultPrinter.empty() && text::EqualsNoCase(m_defaultPrinter, info.printerName)
                ? L"1"
                : L"0";
        // Each printer its own settings file and section, whatever its name holds (a
        // connection's backslashes, characters that the safe file name makes one, blanks the
        // profile functions trim).
        const backup::Names names = m_names.Take(info.printerName, m_folder);
        saved.sectionName = names.section;
        std::unique_ptr<platform::Printer> printer;
        std::vector<std::uint8_t> devmode;
        if (!names.settingsFile.empty() &&
            m_platform.spooler.OpenPrinter(info.printerName, kPrinterAccessUse, printer) == 0 &&
            printer->DocumentProperties(devmode) == 0 &&
            m_platform.files.WriteFile(path::Join(m_folder, names.settingsFile), devmode, false) ==
                0) {
            saved.devmodeFile = names.settingsFile;
        }
        m_saved.push_back(std::move(saved));
    }
}

}  // namespace norvane
