// The Registry service of the simulated machine, over a RegistryStore, journaling every change.
// Keys the machine marks read-only (machine.json "faults" "readOnlyKeys") are the keys whose
// security grants the program only reading: opening them for all access, and every change to
// them or below them through them, is refused with ERROR_ACCESS_DENIED, as Windows refuses it.
#pragma once

#include <vector>

#include "platform/Registry.h"
#include "platform/sim/Journal.h"
#include "platform/sim/RegistryStore.h"

namespace norvane::sim {

class SimRegistry final : public platform::Registry {
public:
    SimRegistry(RegistryStore& store, const std::vector<std::wstring>& readOnlyKeys,
                Journal& journal)
        : m_store(store), m_readOnlyKeys(readOnlyKeys), m_journal(journal) {}

    platform::WinError OpenKey(platform::RootKey root, const std::wstring& path,
                               platform::RegAccess access) override;
    platform::WinError CreateKey(platform::RootKey root, const std::wstring& path,
                                 bool* created) override;
    platform::WinError DeleteKey(platform::RootKey root, const std::wstring& path) override;
    platform::WinError EnumKey(platform::RootKey root, const std::wstring& path,
                               std::uint32_t index, std::wstring& name) override;
    platform::WinError KeyName(platform::RootKey root, const std::wstring& path,
                               std::wstring& name) override;
    platform::WinError QueryValue(platform::RootKey root, const std::wstring& path,
                                  const std::wstring& name, std::uint32_t maxBytes,
                                  platform::RegValue& value) override;
    platform::WinError QueryValueSize(platform::RootKey root, const std::wstring& path,
                                      const std::wstring& name, std::uint32_t& bytes) override;
    platform::WinError SetValue(platform::RootKey root, const std::wstring& path,
                                const std::wstring& name, const platform::RegValue& value) override;
    platform::WinError DeleteValue(platform::RootKey root, const std::wstring& path,
                                   const std::wstring& name) override;
    platform::WinError EnumValue(platform::RootKey root, const std::wstring& path,
                                 std::uint32_t index, std::wstring& name,
                                 platform::RegValue& value) override;

private:
    bool IsReadOnly(const RegKey* key) const;
    // The key a change names, or null with the error: a refused path, a missing or a read-only key.
    RegKey* LookupToChange(const std::wstring& fullPath, platform::WinError& error);
    // A change Windows refuses is journaled with its error ("<call> -> <error>"), as the file
    // system and the spooler journal theirs, but is no change; success passes through untold.
    platform::WinError Refused(const std::wstring& call, platform::WinError error);

    RegistryStore& m_store;
    const std::vector<std::wstring>& m_readOnlyKeys;
    Journal& m_journal;
    // The subkeys of the key listed last, in enumeration order, kept while the store's
    // generation stays: a caller lists a key by index, one call per subkey, and a key of n
    // subkeys sorted again for each call would cost n^2 log n (a print server's Printers key).
    struct EnumOrder {
        const RegKey* key = nullptr;
        std::uint64_t generation = 0;
        std::vector<const RegKey*> subkeys;
    } m_enumOrder;
};

}  // namespace norvane::sim
