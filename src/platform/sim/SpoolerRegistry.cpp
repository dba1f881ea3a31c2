#include "platform/sim/SpoolerRegistry.h"

#include <utility>

namespace norvane::sim {

platform::WinError SpoolerRegistry::EnumKey(platform::RootKey root, const std::wstring& path,
                                            std::uint32_t index, std::wstring& name) {
    const std::wstring full = RegistryStore::RootName(root) + L"\\" + path;
    if (index == 0 || full != m_listedKey) {
        m_listedKey.clear();
        m_listed.clear();
        // The machine's service gives a missing or refused key its error.
        if (const auto error = m_service.OpenKey(root, path, platform::RegAccess::Read))
            return error;
        for (const RegKey* key : std::as_const(m_store).Find(full)->SubkeysInEnumOrder())
            m_listed.push_back(key->name);
        m_listedKey = full;
    }
    if (index >= m_listed.size())
        return platform::win::kNoMoreItems;
    name = m_listed[index];
    return platform::win::kSuccess;
}

}  // namespace norvane::sim
