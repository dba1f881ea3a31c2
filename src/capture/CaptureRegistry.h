// registry.reg of a capture: exactly the keys and values the program reads, as whole subtrees,
// in the simulated machine's format. DEVMODE settings are not kept.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "capture/CaptureWriter.h"
#include "inventory/Config.h"
#include "platform/Registry.h"

namespace norvane::capture {

// One place the program reads: a key with its whole subtree, one value of a key only, or a key
// alone (whose existence the program asks about).
struct RegistryScope {
    enum class Kind { Subtree, Value, KeyOnly };
    RegistryScope(platform::RootKey root, std::wstring path, Kind kind = Kind::Subtree,
                  std::wstring value = L"")
        : root(root), path(std::move(path)), kind(kind), value(std::move(value)) {}

    platform::RootKey root;
    std::wstring path;
    Kind kind;
    std::wstring value;  // for Kind::Value
};

// The print keys, the ports' stores, the maker and program keys config.ini names, RunOnce, the
// pending renames, the uninstall entries of the utilities and scanners in both views, the user's
// connections and default printer.
std::vector<RegistryScope> RegistryScopes(const PackageConfig& config);

// The text of registry.reg for those scopes; keys and values counted, and every key or value
// that could not be read listed in `counts.unread`. A missing key is no failure: it is missing
// on the PC as well.
std::string CaptureRegistry(platform::Registry& registry, const std::vector<RegistryScope>& scopes,
                            CaptureCounts& counts);

// A DEVMODEW with its settings zeroed: its size kept, and of its header what the drivers check
// (the device name, dmSpecVersion, dmDriverVersion, dmSize, dmDriverExtra).
std::vector<std::uint8_t> WithoutSettings(const std::vector<std::uint8_t>& devmode);

}  // namespace norvane::capture
