// The Spooler service over winspool. The default-printer functions are imported by name.
#pragma once

#include "platform/Spooler.h"

namespace norvane::win32 {

class Win32Spooler final : public platform::Spooler {
public:
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
};

}  // namespace norvane::win32
