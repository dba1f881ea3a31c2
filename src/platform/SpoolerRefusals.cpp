#include "platform/SpoolerRefusals.h"

#include "platform/Spooler.h"
#include "support/Text.h"

namespace norvane::platform {

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

WinError MonitorToDelete(Registry& registry, const std::wstring& name, std::wstring& key) {
    key.clear();
    const auto monitor = FindSubkey(registry, RootKey::LocalMachine, MonitorsKeyPath(), name);
    if (!monitor)
        return win::kUnknownPrintMonitor;
    const std::wstring path = MonitorsKeyPath() + L"\\" + *monitor;
    std::wstring port;
    if (registry.EnumKey(RootKey::LocalMachine, path + L"\\Ports", 0, port) == win::kSuccess)
        return win::kPrintMonitorInUse;
    key = path;
    return win::kSuccess;
}

WinError PrintProcessorToDelete(Registry& registry, const std::wstring& environment,
                                const std::wstring& name, std::wstring& key) {
    key.clear();
    const auto env = SpoolerEnvironment(environment);
    if (!env)
        return win::kInvalidEnvironment;
    const std::wstring processors = PrintProcessorsKeyPath(*env);
    const auto processor = FindSubkey(registry, RootKey::LocalMachine, processors, name);
    if (!processor)
        return win::kUnknownPrintProcessor;
    key = processors + L"\\" + *processor;
    return win::kSuccess;
}

}  // namespace norvane::platform
