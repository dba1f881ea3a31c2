// Deleting one printer (a connection or a local queue) and saving its settings first.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "log/BackupNames.h"
#include "platform/Spooler.h"
#include "platform/WinError.h"

namespace norvane {

class CUninstallerController;
class CPrinterData;

// 0 when the printer is gone, else the error of the step that failed.
platform::WinError DeletePrinterEntry(CUninstallerController& app, const CPrinterData& printer);
// Saves printers' port, driver, share name, default flag and DEVMODE (to a file in the log
// folder) for the log. The spooler's printers are enumerated once, at the first printer saved:
// deleting one printer changes nothing another one is saved with.
class PrinterSettingsBackup {
public:
    explicit PrinterSettingsBackup(CUninstallerController& app) : m_app(app) {}
    void Save(const std::wstring& printerName);

private:
    CUninstallerController& m_app;
    std::optional<std::vector<platform::PrinterInfo2>> m_printers;
    std::unordered_map<std::wstring, std::vector<std::size_t>> m_byName;  // names folded
    backup::Namer m_names;
};

}  // namespace norvane
