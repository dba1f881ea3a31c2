// Deleting one printer (a connection or a local queue) and saving its settings first.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "log/BackupNames.h"
#include "log/Results.h"
#include "platform/Platform.h"
#include "platform/WinError.h"

namespace norvane {

class CPrinterData;

// 0 when the printer is gone, else the error of the step that failed.
platform::WinError DeletePrinterEntry(platform::Spooler& spooler, const CPrinterData& printer);
// Saves printers' port, driver, share name, default flag and DEVMODE (to a file in the log
// folder) for the log, into `saved`. The spooler's printers are enumerated once, at the first
// printer saved: deleting one printer changes nothing another one is saved with.
class PrinterSettingsBackup {
public:
    PrinterSettingsBackup(platform::Platform& platform, const std::wstring& defaultPrinter,
                          std::wstring folder, std::vector<CSavedPrinterInfo>& saved)
        : m_platform(platform),
          m_defaultPrinter(defaultPrinter),
          m_folder(std::move(folder)),
          m_saved(saved) {}
    void Save(const std::wstring& printerName);

private:
    platform::Platform& m_platform;
    const std::wstring& m_defaultPrinter;
    std::wstring m_folder;
    std::vector<CSavedPrinterInfo>& m_saved;
    std::optional<std::vector<platform::PrinterInfo2>> m_printers;
    std::unordered_map<std::wstring, std::vector<std::size_t>> m_byName;  // names folded
    backup::Namer m_names;
};

}  // namespace norvane
