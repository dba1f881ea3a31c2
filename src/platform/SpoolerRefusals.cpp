#include "platform/SpoolerRefusals.h"

#include "platform/Spooler.h"
#include "support/Text.h"

namespace norvane::platform {
namespace {

// Whether a local printer the caller has not deleted holds a value that `uses` accepts. The
// printers' keys hold "Port" (a list separated by commas for a pool) and "Print Processor".
template <typename Uses>
bool AnyPrinter(Registry& registry, const PrinterDeleted& deleted, const wchar_t* valueName,
                const Uses& uses) {
    const std::wstring printers = std::wstring(kPrintKeyPath) + L"\\Printers";
    std::wstring printer;
    for (std::uint32_t i = 0;
         registry.EnumKey(RootKey::LocalMachine, printers, i, printer) == win::kSuccess; ++i) {
        if (deleted && deleted(printer))
            continue;
        RegValue value;
        if (registry.QueryValueOfAnySize(RootKey::LocalMachine, printers + L"\\" + printer,
                                         valueName, value) == win::kSuccess &&
            uses(value.AsString())) {
            return true;
        }
    }
    return false;
}

// Whether a printer prints to one of the ports of the monitor's key.
bool PortsInUse(Registry& registry, const std::wstring& monitor, const PrinterDeleted& deleted) {
    std::vector<std::wstring> ports;
    std::wstring port;
    for (std::uint32_t i = 0;
         registry.EnumKey(RootKey::LocalMachine, monitor + L"\\Ports", i, port) == win::kSuccess;
         ++i) {
        ports.push_back(port);
    }
    if (ports.empty())
        return false;
    return AnyPrinter(registry, deleted, L"Port", [&](const std::wstring& list) {
        for (const auto& used : text::Split(list, L',')) {
            for (const auto& own : ports) {
                if (text::EqualsNoCase(text::Trim(used), own))
                    return true;
            }
        }
        return false;
    });
}

}  // namespace

std::optional<std::wstring> SpoolerEnvironment(const std::wstring& environment) {
    if (environment.empty() || text::EqualsNoCase(environment, kEnvironmentX64))
        return kEnvironmentX64;
    if (text::EqualsNoCase(environment, kEnvironmentX86))
        return kEnvironmentX86;
    return std::nullopt;
}

std::wstring MonitorsKeyPath() {
    return std::wstring(kPrintKeyPath) + L"\\Monitors";
}

std::wstring PrintProcessorsKeyPath(const std::wstring& environment) {
    return std::wstring(kPrintKeyPath) + L"\\Environments\\" + environment + L"\\Print Processors";
}

WinError MonitorToDelete(Registry& registry, const std::wstring& name, std::wstring& key,
                         const PrinterDeleted& deleted) {
    key.clear();
    const auto monitor = FindSubkey(registry, RootKey::LocalMachine, MonitorsKeyPath(), name);
    if (!monitor)
        return win::kUnknownPrintMonitor;
    const std::wstring path = MonitorsKeyPath() + L"\\" + *monitor;
    if (PortsInUse(registry, path, deleted))
        return win::kPrintMonitorInUse;
    key = path;
    return win::kSuccess;
}

WinError PrintProcessorToDelete(Registry& registry, const std::wstring& environment,
                                const std::wstring& name, std::wstring& key,
                                const PrinterDeleted& deleted) {
    key.clear();
    const auto env = SpoolerEnvironment(environment);
    if (!env)
        return win::kInvalidEnvironment;
    const std::wstring processors = PrintProcessorsKeyPath(*env);
    const auto processor = FindSubkey(registry, RootKey::LocalMachine, processors, name);
    if (!processor)
        return win::kUnknownPrintProcessor;
    if (AnyPrinter(registry, deleted, L"Print Processor", [&](const std::wstring& used) {
            return text::EqualsNoCase(used, *processor);
        })) {
        return win::kCanNotComplete;
    }
    key = processors + L"\\" + *processor;
    return win::kSuccess;
}

}  // namespace norvane::platform
