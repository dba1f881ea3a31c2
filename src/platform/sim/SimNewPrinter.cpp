// The simulated spooler's new printers: AddPrinterW's checks and the keys Windows writes for a
// local printer, and the print processor a driver asks for.
#include "platform/sim/Journal.h"
#include "platform/sim/RegistryKeys.h"
#include "platform/sim/SimPrinter.h"
#include "platform/sim/SimSpooler.h"
#include "platform/sim/SpoolerPaths.h"
#include "support/Text.h"

namespace norvane::sim {
namespace {

namespace win = platform::win;
using platform::RegValue;
using platform::RootKey;

// MAX_PRINTER_NAME: the longest printer name the spooler takes.
constexpr std::size_t kMaxPrinterName = 220;
constexpr platform::WinError kInvalidShareName = 1215;  // ERROR_INVALID_SHARENAME

// A local printer's name: not empty, not too long, and free of the separators of a connection's
// name ("\\server\queue") and of the "Device" value ("name,winspool,port").
bool IsPrinterName(const std::wstring& name) {
    return !name.empty() && name.size() <= kMaxPrinterName &&
           name.find_first_of(L"\\,") == std::wstring::npos;
}

}  // namespace

bool SimSpooler::PortExists(const std::wstring& port) {
    if (port.empty())
        return false;
    std::uint32_t bytes = 0;
    if (m_registry.QueryValueSize(RootKey::LocalMachine, kLocalPortsPath, port, bytes) ==
        win::kSuccess) {
        return true;
    }
    for (const auto& monitor : SubkeyNames(m_registry, RootKey::LocalMachine, MonitorsPath())) {
        if (FindSubkey(m_registry, RootKey::LocalMachine,
                       MonitorsPath() + L"\\" + monitor + L"\\Ports", port)) {
            return true;
        }
    }
    for (const auto& device : SubkeyNames(m_registry, RootKey::LocalMachine, kUsbPrintersPath)) {
        KeyValues parameters;
        ReadValues(m_registry, RootKey::LocalMachine,
                   std::wstring(kUsbPrintersPath) + L"\\" + device + L"\\#\\Device Parameters",
                   parameters);
        if (text::EqualsNoCase(parameters.String(L"Port Name"), port))
            return true;
    }
    return false;
}

platform::WinError SimSpooler::CheckNewPrinter(const platform::PrinterInfo2& info) {
    if (!IsPrinterName(info.printerName))
        return win::kInvalidPrinterName;
    if (FindPrinter(info.printerName))
        return win::kPrinterAlreadyExists;
    platform::DriverInfo6 driver;
    if (FindDriver(L"", info.driverName, driver) != win::kSuccess)
        return win::kUnknownPrinterDriver;
    if (!PortExists(info.portName))
        return win::kUnknownPort;
    if (!FindSubkey(m_registry, RootKey::LocalMachine,
                    platform::PrintProcessorsKeyPath(platform::kEnvironmentX64),
                    info.printProcessor)) {
        return win::kUnknownPrintProcessor;
    }
    // A shared printer needs a share name that no other printer has.
    if (info.attributes & platform::kPrinterAttributeShared) {
        if (!IsPrinterName(info.shareName))
            return kInvalidShareName;
        std::vector<platform::PrinterInfo2> printers;
        EnumPrinters(platform::kPrinterEnumLocal, printers);
        for (const auto& other : printers) {
            if (text::EqualsNoCase(other.shareName, info.shareName))
                return kInvalidShareName;
        }
    }
    return win::kSuccess;
}

platform::WinError SimSpooler::AddPrinter(const platform::PrinterInfo2& info,
                                          std::unique_ptr<platform::Printer>& printer) {
    printer.reset();
    const auto counted = Call();
    const std::wstring call = L"AddPrinter " + Quoted(info.printerName) + L" driver " +
                              Quoted(info.driverName) + L" port " + Quoted(info.portName) +
                              L" share " + Quoted(info.shareName) + L" processor " +
                              Quoted(info.printProcessor);
    if (m_state.faults.spoolerStopped)
        return Journaled(call, win::kRpcServerUnavailable, L"spooler stopped");
    if (const auto error = CheckNewPrinter(info))
        return Journaled(call, error);
    // A printer of that name pending deletion is revived: it becomes the printer added.
    const auto pending = FindPrinter(info.printerName, true);
    if (pending)
        DeleteTree(m_registry, pending->root, pending->Path());
    const bool shared = info.attributes & platform::kPrinterAttributeShared;
    PrinterKey key{RootKey::LocalMachine, PrintersPath(), info.printerName, false};
    (void)m_registry.CreateKey(key.root, key.Path(), nullptr);
    const std::pair<const wchar_t*, RegValue> values[] = {
        {L"Attributes", RegValue::Dword(info.attributes | platform::kPrinterAttributeLocal)},
        {L"Datatype", RegValue::String(L"RAW")},
        {L"Description", RegValue::String(L"")},
        {L"Location", RegValue::String(L"")},
        {L"Name", RegValue::String(info.printerName)},
        {L"Port", RegValue::String(info.portName)},
        {L"Print Processor", RegValue::String(info.printProcessor)},
        {L"Printer Driver", RegValue::String(info.driverName)},
        {L"Priority", RegValue::Dword(1)},
        {L"Share Name", RegValue::String(shared ? info.shareName : std::wstring())},
    };
    for (const auto& [name, value] : values)
        (void)m_registry.SetValue(key.root, key.Path(), name, value);
    // Where the driver keeps its own data for the printer.
    (void)m_registry.CreateKey(key.root, key.Path() + L"\\PrinterDriverData", nullptr);
    printer = std::make_unique<SimPrinter>(*this, std::move(key));
    return Journaled(call, win::kSuccess,
                     pending ? L"revives a printer pending deletion" : nullptr);
}

platform::WinError SimSpooler::GetDriverPrintProcessor(const std::wstring& environment,
                                                       const std::wstring& driver,
                                                       std::wstring& printProcessor) {
    printProcessor.clear();
    if (m_state.faults.spoolerStopped)
        return win::kRpcServerUnavailable;
    DriverKey key;
    if (const auto error = ReadDriverKey(environment, driver, key))
        return error;
    printProcessor = key.values.String(L"Print Processor");
    return win::kSuccess;
}

}  // namespace norvane::sim
