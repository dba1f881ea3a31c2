#include "extras/UninstallEntry.h"

namespace norvane {
namespace {

constexpr std::uint32_t kValueBytes = 520;

}  // namespace

std::wstring UninstallEntryPath(platform::Registry& registry, const std::wstring& guid,
                                const std::wstring& prefix) {
    const bool view32 = registry.OpenKey(platform::RootKey::LocalMachine, kUninstall32,
                                         platform::RegAccess::Read) == platform::win::kSuccess;
    return std::wstring(view32 ? kUninstall32 : kUninstall) + L"\\" + prefix + L"{" + guid + L"}";
}

std::optional<std::wstring> ReadUninstallValue(platform::Registry& registry,
                                               const std::wstring& guid, const std::wstring& name,
                                               const std::wstring& prefix) {
    platform::RegValue value;
    if (registry.QueryValue(platform::RootKey::LocalMachine,
                            UninstallEntryPath(registry, guid, prefix), name, kValueBytes,
                            value) != platform::win::kSuccess)
        return std::nullopt;
    return value.AsString();
}

}  // namespace norvane
