// The print spooler under a trace: enumerations and reads pass through untold, every change
// (on the spooler or on a printer it opened) is told with its outcome.
#pragma once

#include "platform/Spooler.h"
#include "platform/trace/TraceFile.h"

namespace norvane::trace {

class TraceSpooler : public platform::Spooler {
public:
    TraceSpooler(platform::Spooler& below, TraceFile& trace) : m_below(below), m_trace(trace) {}

    platform::WinError EnumDrivers(const std::wstring& environment,
                                   std::vector<platform::DriverInfo6>& drivers) override {
        return m_below.EnumDrivers(environment, drivers);
    }
    platform::WinError EnumPrinters(std::uint32_t flags,
                                    std::vector<platform::PrinterInfo2>& printers) override {
        return m_below.EnumPrinters(flags, printers);
    }
    platform::WinError OpenPrinter(const std::wstring& name, std::uint32_t access,
                                   std::unique_ptr<platform::Printer>& printer) override;
    platform::WinError DeletePrinterConnection(const std::wstring& name) override;
    platform::WinError AddPrinter(const platform::PrinterInfo2& info,
                                  std::unique_ptr<platform::Printer>& printer) override;
    platform::WinError GetDriverPrintProcessor(const std::wstring& environment,
                                               const std::wstring& driver,
                                               std::wstring& printProcessor) override {
        return m_below.GetDriverPrintProcessor(environment, driver, printProcessor);
    }
    platform::WinError DeletePrinterDriver(const std::wstring& environment,
                                           const std::wstring& name,
                                           std::uint32_t deleteFlags) override;
    platform::WinError DeleteMonitor(const std::wstring& name) override;
    platform::WinError DeletePrintProcessor(const std::wstring& environment,
                                            const std::wstring& name) override;
    platform::WinError GetDefaultPrinter(std::wstring& name) override {
        return m_below.GetDefaultPrinter(name);
    }
    platform::WinError SetDefaultPrinter(const std::wstring& name) override;

private:
    platform::Spooler& m_below;
    TraceFile& m_trace;
};

}  // namespace norvane::trace
