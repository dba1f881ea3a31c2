// Whole-key work over the Registry service, for a service that keeps its state in registry keys
// (the simulated spooler): a key's values read at once, its subkeys listed, a subkey found by its
// name as stored, and a key deleted with everything below it. Over any Registry, so that the same
// code runs on a simulated machine and on Windows' own registry.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Registry.h"

namespace norvane::sim {

// A key's values in RegEnumValueW's order. Names compare with A-Z folded.
struct KeyValues {
    std::vector<std::pair<std::wstring, platform::RegValue>> values;

    const platform::RegValue* Find(const std::wstring& name) const;
    // The text of a string value; empty when it is missing.
    std::wstring String(const std::wstring& name) const;
    // A REG_DWORD value; 0 when it is missing or of another type.
    std::uint32_t Dword(const std::wstring& name) const;
};

// Every value of a key; the key's error when it cannot be read.
platform::WinError ReadValues(platform::Registry& registry, platform::RootKey root,
                              const std::wstring& path, KeyValues& values);

// The names of a key's subkeys in RegEnumKeyExW's order; none when the key is missing.
std::vector<std::wstring> SubkeyNames(platform::Registry& registry, platform::RootKey root,
                                      const std::wstring& path);

// A subkey by its stored name: the seam's own helper, which the spooler's refusals use too.
using platform::FindSubkey;

// RegDeleteTreeW and then RegDeleteKeyW: the key with all its subkeys.
platform::WinError DeleteTree(platform::Registry& registry, platform::RootKey root,
                              const std::wstring& path);

}  // namespace norvane::sim
