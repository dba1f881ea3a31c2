#include "platform/trace/TraceSpooler.h"

#include "platform/ChangeText.h"

namespace norvane::trace {
namespace {

using platform::ChangeText;
using platform::WinError;

class TracePrinter : public platform::Printer {
public:
    TracePrinter(std::unique_ptr<platform::Printer> below, std::wstring name, TraceFile& trace)
        : m_below(std::move(below)), m_name(std::move(name)), m_trace(trace) {}

    WinError Control(std::uint32_t command) override {
        return Told(L"SetPrinter", {m_name, platform::PrinterControlName(command)},
                    m_below->Control(command));
    }
    WinError Delete() override { return Told(L"DeletePrinter", {m_name}, m_below->Delete()); }
    WinError DocumentProperties(std::vector<std::uint8_t>& devmode) override {
        return m_below->DocumentProperties(devmode);
    }
    WinError GetDriver(const std::wstring& environment, platform::DriverInfo3& info) override {
        return m_below->GetDriver(environment, info);
    }
    WinError MergeDocumentProperties(const std::vector<std::uint8_t>& in,
                                     std::vector<std::uint8_t>& out) override {
        return m_below->MergeDocumentProperties(in, out);
    }
    WinError SetDefaultDevMode(const std::vector<std::uint8_t>& devmode) override {
        return Told(L"SetPrinter", {m_name, L"8"}, m_below->SetDefaultDevMode(devmode));
    }

private:
    WinError Told(const wchar_t* call, const std::vector<std::wstring>& arguments,
                  WinError outcome) {
        m_trace.Change(ChangeText(call, arguments), outcome);
        return outcome;
    }

    std::unique_ptr<platform::Printer> m_below;
    const std::wstring m_name;
    TraceFile& m_trace;
};

}  // namespace

WinError TraceSpooler::OpenPrinter(const std::wstring& name, std::uint32_t access,
                                   std::unique_ptr<platform::Printer>& printer) {
    const WinError error = m_below.OpenPrinter(name, access, printer);
    if (!error && printer)
        printer = std::make_unique<TracePrinter>(std::move(printer), name, m_trace);
    return error;
}

WinError TraceSpooler::DeletePrinterConnection(const std::wstring& name) {
    const WinError error = m_below.DeletePrinterConnection(name);
    m_trace.Change(ChangeText(L"DeletePrinterConnection", {name}), error);
    return error;
}

WinError TraceSpooler::AddPrinter(const platform::PrinterInfo2& info,
                                  std::unique_ptr<platform::Printer>& printer) {
    const WinError error = m_below.AddPrinter(info, printer);
    m_trace.Change(ChangeText(L"AddPrinter", {info.printerName, info.driverName, info.portName}),
                   error);
    if (!error && printer)
        printer = std::make_unique<TracePrinter>(std::move(printer), info.printerName, m_trace);
    return error;
}

WinError TraceSpooler::DeletePrinterDriver(const std::wstring& environment,
                                           const std::wstring& name, std::uint32_t deleteFlags) {
    const WinError error = m_below.DeletePrinterDriver(environment, name, deleteFlags);
    m_trace.Change(
        ChangeText(L"DeletePrinterDriverEx", {platform::EnvironmentName(environment), name}),
        error);
    return error;
}

WinError TraceSpooler::DeleteMonitor(const std::wstring& name) {
    const WinError error = m_below.DeleteMonitor(name);
    m_trace.Change(ChangeText(L"DeleteMonitor", {name}), error);
    return error;
}

WinError TraceSpooler::DeletePrintProcessor(const std::wstring& environment,
                                            const std::wstring& name) {
    const WinError error = m_below.DeletePrintProcessor(environment, name);
    m_trace.Change(
        ChangeText(L"DeletePrintProcessor", {platform::EnvironmentName(environment), name}), error);
    return error;
}

WinError TraceSpooler::SetDefaultPrinter(const std::wstring& name) {
    const WinError error = m_below.SetDefaultPrinter(name);
    m_trace.Change(ChangeText(L"SetDefaultPrinter",
                              name.empty() ? std::vector<std::wstring>{} : std::vector{name}),
                   error);
    return error;
}

}  // namespace norvane::trace
