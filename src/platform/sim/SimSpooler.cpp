#include "platform/sim/SimSpooler.h"

#include "support/Text.h"

namespace norvane::sim {
namespace {

namespace win = platform::win;
constexpr platform::WinError kInvalidEnvironment = 1805;

std::wstring StringValue(const RegKey& key, const wchar_t* name) {
    const platform::RegValue* value = key.FindValue(name);
    return value ? value->AsString() : std::wstring();
}

std::uint32_t DwordValue(const RegKey& key, const wchar_t* name) {
    const platform::RegValue* value = key.FindValue(name);
    if (!value || value->type != platform::RegType::Dword || value->data.size() < 4)
        return 0;
    return value->data[0] | (value->data[1] << 8) | (value->data[2] << 16) |
           (static_cast<std::uint32_t>(value->data[3]) << 24);
}

// A file named in a driver key is relative to the environment's driver folder.
std::wstring InFolder(const std::wstring& folder, const std::wstring& file) {
    if (file.empty() || file.find(L'\\') != std::wstring::npos)
        return file;
    return folder + L"\\" + file;
}

platform::PrinterInfo2 PrinterFromKey(const std::wstring& name, const RegKey& key) {
    platform::PrinterInfo2 info;
    info.printerName = name;
    info.shareName = StringValue(key, L"Share Name");
    info.portName = StringValue(key, L"Port");
    info.driverName = StringValue(key, L"Printer Driver");
    info.printProcessor = StringValue(key, L"Print Processor");
    info.attributes = DwordValue(key, L"Attributes");
    return info;
}

}  // namespace

std::wstring SimSpooler::DriverDirectory(const std::wstring& environment) const {
    const bool x86 = text::EqualsNoCase(environment, platform::kEnvironmentX86);
    return m_config.windowsDir + L"\\system32\\spool\\DRIVERS\\" + (x86 ? L"W32X86" : L"x64") +
           L"\\3";
}

platform::WinError SimSpooler::EnumDrivers(const std::wstring& environment,
                                           std::vector<platform::DriverInfo6>& drivers) {
    drivers.clear();
    const std::wstring env = environment.empty() ? platform::kEnvironmentX64 : environment;
    if (!text::EqualsNoCase(env, platform::kEnvironmentX64) &&
        !text::EqualsNoCase(env, platform::kEnvironmentX86)) {
        return kInvalidEnvironment;
    }
    const RegKey* root = m_registry.Find(std::wstring(kPrintKey) + L"\\Environments\\" + env +
                                         L"\\Drivers\\Version-3");
    if (!root)
        return win::kSuccess;
    const std::wstring folder = DriverDirectory(env);
    for (const RegKey* key : root->SubkeysInEnumOrder()) {
        platform::DriverInfo6 info;
        info.name = key->name;
        info.environment = env;
        info.driverPath = InFolder(folder, StringValue(*key, L"Driver"));
        info.dataFile = InFolder(folder, StringValue(*key, L"Data File"));
        info.configFile = InFolder(folder, StringValue(*key, L"Configuration File"));
        info.helpFile = InFolder(folder, StringValue(*key, L"Help File"));
        if (const platform::RegValue* files = key->FindValue(L"Dependent Files")) {
            for (const auto& file : files->AsMultiString()) {
                info.dependentFiles.push_back(InFolder(folder, file));
            }
        }
        info.monitorName = StringValue(*key, L"Monitor");
        info.defaultDataType = StringValue(*key, L"Datatype");
        info.hardwareId = StringValue(*key, L"HardwareID");
        info.manufacturer = StringValue(*key, L"Manufacturer");
        if (key->FindValue(L"Provider"))
            info.provider = StringValue(*key, L"Provider");
        drivers.push_back(std::move(info));
    }
    return win::kSuccess;
}

platform::WinError SimSpooler::EnumPrinters(std::uint32_t flags,
                                            std::vector<platform::PrinterInfo2>& printers) {
    printers.clear();
    if (flags & platform::kPrinterEnumLocal) {
        if (const RegKey* root = m_registry.Find(std::wstring(kPrintKey) + L"\\Printers")) {
            for (const RegKey* key : root->SubkeysInEnumOrder()) {
                printers.push_back(PrinterFromKey(key->name, *key));
            }
        }
    }
    if (flags & platform::kPrinterEnumConnections) {
        if (const RegKey* root = m_registry.Find(kConnectionsKey)) {
            for (const RegKey* key : root->SubkeysInEnumOrder()) {
                std::wstring printerName = key->name;  // ",,server,queue" is \\server\queue
                for (auto& c : printerName)
                    c = c == L',' ? L'\\' : c;
                printers.push_back(PrinterFromKey(printerName, *key));
            }
        }
    }
    for (auto& printer : printers) {
        const auto jobs = m_config.jobs.find(printer.printerName);
        printer.jobs = jobs == m_config.jobs.end() ? 0 : jobs->second;
    }
    return win::kSuccess;
}

platform::WinError SimSpooler::GetDefaultPrinter(std::wstring& name) {
    name.clear();
    const RegKey* key = m_registry.Find(kWindowsKey);
    const std::wstring device = key ? StringValue(*key, L"Device") : std::wstring();
    if (device.empty())
        return win::kFileNotFound;
    name = device.substr(0, device.find(L','));
    return win::kSuccess;
}

// The changing side of the spooler is not simulated yet: these calls fail plainly, so that
// nothing is reported as removed that was not.
platform::WinError SimSpooler::NotYetSimulated(const std::wstring& call) {
    m_journal.Record(call + L" -> 120 (not simulated)");
    return win::kCallNotImplemented;
}

platform::WinError SimSpooler::OpenPrinter(const std::wstring& name, std::uint32_t,
                                           std::unique_ptr<platform::Printer>& printer) {
    printer.reset();
    return NotYetSimulated(L"OpenPrinter " + Quoted(name));
}

platform::WinError SimSpooler::DeletePrinterConnection(const std::wstring& name) {
    return NotYetSimulated(L"DeletePrinterConnection " + Quoted(name));
}

platform::WinError SimSpooler::DeletePrinterDriver(const std::wstring& environment,
                                                   const std::wstring& name, std::uint32_t) {
    return NotYetSimulated(L"DeletePrinterDriverEx " + Quoted(environment) + L" " + Quoted(name));
}

platform::WinError SimSpooler::DeleteMonitor(const std::wstring& name) {
    return NotYetSimulated(L"DeleteMonitor " + Quoted(name));
}

platform::WinError SimSpooler::DeletePrintProcessor(const std::wstring& environment,
                                                    const std::wstring& name) {
    return NotYetSimulated(L"DeletePrintProcessor " + Quoted(environment) + L" " + Quoted(name));
}

platform::WinError SimSpooler::SetDefaultPrinter(const std::wstring& name) {
    return NotYetSimulated(L"SetDefaultPrinter " + Quoted(name));
}

}  // namespace norvane::sim
