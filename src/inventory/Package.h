// What the program knows of itself and of the package it removes: the program folder, the
// package's config.ini and its [Common] values.
#pragma once

#include <optional>
#include <string>

#include "inventory/Config.h"
#include "platform/Profile.h"

namespace norvane {

class Package {
public:
    explicit Package(platform::Profile& profile) : m_profile(profile) {}

    // config.ini in the program folder, one object for the run; always the machine's own file,
    // which a preview reads as it is.
    const PackageConfig& Config() const;

    std::wstring g_szModuleDir;  // the program folder, ends with "\"
    std::wstring g_strOemProvider;
    std::wstring m_strOemRegPath;
    std::wstring m_strOemRegNorvanePath;
    std::wstring m_strSystemDir;

private:
    platform::Profile& m_profile;
    mutable std::optional<PackageConfig> m_config;  // of the program folder it was made for
};

}  // namespace norvane
