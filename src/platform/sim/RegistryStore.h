// The registry of a simulated machine, held in memory: keys with case-insensitive names that
// keep their spelling, each with its values.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Registry.h"
#include "support/Text.h"

namespace norvane::sim {

struct RegKey {
    std::wstring name;  // as first created
    std::map<std::wstring, std::unique_ptr<RegKey>, text::NoCaseLess> subkeys;
    // In the order of first setting, as RegEnumValueW returns them; "" is the default value.
    std::vector<std::pair<std::wstring, platform::RegValue>> values;

    const platform::RegValue* FindValue(const std::wstring& valueName) const;
    void SetValue(const std::wstring& valueName, platform::RegValue value);
    bool DeleteValue(const std::wstring& valueName);
    // The subkeys in the order RegEnumKeyExW lists them: Windows keeps them sorted by their
    // upper-cased names, so "A_B" follows "AB", where the map's lower-case order puts it first.
    std::vector<const RegKey*> SubkeysInEnumOrder() const;
};

class RegistryStore {
public:
    RegistryStore();

    // Full paths name their root: "HKEY_LOCAL_MACHINE\SOFTWARE\Corvida" (HKLM, HKCU, HKCR and
    // HKU are accepted as well). HKEY_CLASSES_ROOT is HKEY_LOCAL_MACHINE\SOFTWARE\Classes.
    // Below the root, backslashes separate key names as RegOpenKeyExW takes them: repeated and
    // trailing ones are ignored; one right after the root is refused, except after
    // HKEY_CLASSES_ROOT, as Windows does.

    // Windows keeps a registry tree at most this many levels deep.
    static constexpr std::size_t kMaxDepth = 512;
    // How many levels below its root the key a path names lies (HKEY_CLASSES_ROOT's keys lie
    // two below HKEY_LOCAL_MACHINE); 0 for a root or a path CheckPath refuses.
    static std::size_t Depth(const std::wstring& path);

    // Whether a path can name a key at all: ERROR_INVALID_HANDLE for an unknown root,
    // ERROR_BAD_PATHNAME for a refused path.
    static platform::WinError CheckPath(const std::wstring& path);
    // Null when the key or its root does not exist, or the path is refused.
    RegKey* Find(const std::wstring& path);
    const RegKey* Find(const std::wstring& path) const;
    // Creates the key and any missing parent; null when CheckPath refuses the path.
    RegKey* Create(const std::wstring& path, bool* created = nullptr);
    // Deletes a key without subkeys, with RegDeleteKeyW's errors: ERROR_FILE_NOT_FOUND when it
    // is missing, ERROR_ACCESS_DENIED with subkeys or for a root, or CheckPath's error.
    platform::WinError Delete(const std::wstring& path);
    // Deletes a key and everything under it (a "[-...]" line of a .reg file), with Delete's
    // errors except that subkeys are no obstacle.
    platform::WinError DeleteTree(const std::wstring& path);

    // The root keys, by their full names, in the order a .reg export lists them.
    const std::map<std::wstring, std::unique_ptr<RegKey>, text::NoCaseLess>& Roots() const {
        return m_roots;
    }

    // The full name of a platform root.
    static std::wstring RootName(platform::RootKey root);

    // Moves on with every call that may change the tree: Create, Delete, DeleteTree, and the Find
    // that hands out a key to change. What was read from the tree at one generation still holds
    // while the generation stays.
    std::uint64_t Generation() const { return m_generation; }

private:
    std::map<std::wstring, std::unique_ptr<RegKey>, text::NoCaseLess> m_roots;
    std::uint64_t m_generation = 0;
};

}  // namespace norvane::sim
