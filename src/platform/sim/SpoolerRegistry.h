// The registry as the simulated spooler service reaches it: the machine's registry store through
// a Registry service of its own. On Windows the spooler changes its keys in its own process, not
// in the program's, and the spooler's journal lines already tell what changed, so this service
// journals nothing. It lists a key's subkeys once for each enumeration (one that starts at index
// 0), where the machine's service sorts them again for every index: the spooler enumerates its
// large keys (thousands of printers) over and over.
#pragma once

#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/sim/Journal.h"
#include "platform/sim/RegistryStore.h"
#include "platform/sim/SimRegistry.h"

namespace norvane::sim {

class SpoolerRegistry final : public platform::Registry {
public:
    SpoolerRegistry(RegistryStore& store, const SimClock& clock)
        : m_store(store),
          m_unrecorded({}, clock),
          m_service(store, m_noReadOnlyKeys, m_unrecorded) {}

    platform::WinError OpenKey(platform::RootKey root, const std::wstring& path,
                               platform::RegAccess access) override {
        return m_service.OpenKey(root, path, access);
    }
    platform::WinError CreateKey(platform::RootKey root, const std::wstring& path,
                                 bool* created) override {
        return m_service.CreateKey(root, path, created);
    }
    platform::WinError DeleteKey(platform::RootKey root, const std::wstring& path) override {
        return m_service.DeleteKey(root, path);
    }
    platform::WinError EnumKey(platform::RootKey root, const std::wstring& path,
                               std::uint32_t index, std::wstring& name) override;
    platform::WinError KeyName(platform::RootKey root, const std::wstring& path,
                               std::wstring& name) override {
        return m_service.KeyName(root, path, name);
    }
    platform::WinError QueryValue(platform::RootKey root, const std::wstring& path,
                                  const std::wstring& name, std::uint32_t maxBytes,
                                  platform::RegValue& value) override {
        return m_service.QueryValue(root, path, name, maxBytes, value);
    }
    platform::WinError QueryValueSize(platform::RootKey root, const std::wstring& path,
                                      const std::wstring& name, std::uint32_t& bytes) override {
        return m_service.QueryValueSize(root, path, name, bytes);
    }
    platform::WinError SetValue(platform::RootKey root, const std::wstring& path,
                                const std::wstring& name,
                                const platform::RegValue& value) override {
        return m_service.SetValue(root, path, name, value);
    }
    platform::WinError DeleteValue(platform::RootKey root, const std::wstring& path,
                                   const std::wstring& name) override {
        return m_service.DeleteValue(root, path, name);
    }
    platform::WinError EnumValue(platform::RootKey root, const std::wstring& path,
                                 std::uint32_t index, std::wstring& name,
                                 platform::RegValue& value) override {
        return m_service.EnumValue(root, path, index, name, value);
    }

private:
    RegistryStore& m_store;
    Journal m_unrecorded;  // never written
    // The spooler service runs as the system, which no key's security refuses.
    const std::vector<std::wstring> m_noReadOnlyKeys;
    SimRegistry m_service;
    // The subkeys of the key enumerated last, listed when its enumeration began.
    std::wstring m_listedKey;
    std::vector<std::wstring> m_listed;
};

}  // namespace norvane::sim
