// Deleting one printer (a connection or a local queue) and saving its settings first.
#pragma once

#include <string>

#include "platform/WinError.h"

namespace norvane {

class CUninstallerController;
class CPrinterData;

// 0 when the printer is gone, else the error of the step that failed.
platform::WinError DeletePrinterEntry(CUninstallerController& app, const CPrinterData& printer);
// Saves the printer's port, driver, share name, default flag and DEVMODE (to a file in the log
// folder) for the log.
void SavePrinterSettings(CUninstallerController& app, const std::wstring& printerName);

}  // namespace norvane
