#include "inventory/Package.h"

namespace norvane {

const PackageConfig& Package::Config() const {
    const std::wstring path = g_szModuleDir + L"config.ini";
    if (!m_config || m_config->Path() != path)
        m_config.emplace(m_profile, path);
    return *m_config;
}

}  // namespace norvane
