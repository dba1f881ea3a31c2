// The Registry service of the simulated machine, over a RegistryStore, journaling every change.
#pragma once

#include "platform/Registry.h"
#include "platform/sim/Journal.h"
#include "platform/sim/RegistryStore.h"

namespace norvane::sim {

class SimRegistry final : public platform::Registry {
public:
    SimRegistry(RegistryStore& store, Journal& journal) : m_store(store), m_journal(journal) {}

    platform::WinError OpenKey(platform::RootKey root, const std::wstring& path,
                               platform::RegAccess access) override;
    platform::WinError CreateKey(platform::RootKey root, const std::wstring& path,
                                 bool* created) override;
    platform::WinError DeleteKey(platform::RootKey root, const std::wstring& path) override;
    platform::WinError EnumKey(platform::RootKey root, const std::wstring& path,
                               std::uint32_t index, std::wstring& name) override;
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
    RegistryStore& m_store;
    Journal& m_journal;
};

}  // namespace norvane::sim
