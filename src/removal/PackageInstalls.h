// What the maker's INF files install for the drivers a removal takes, read before anything goes:
// the driver loop removes the packages, and with them their INF files, before the cleanup asks
// whether a print processor or monitor is the package's own.
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "inventory/Inventory.h"
#include "platform/Platform.h"

namespace norvane {

class DriverPackages;

class PackageInstalls {
public:
    // From the maker's INF files of every driver chosen for removal, read before anything goes.
    static PackageInstalls Read(platform::Platform& platform, const Inventory& inventory,
                                DriverPackages& packages, const std::wstring& maker);

    // Whether a maker's INF file installs it: its install section for one of those drivers names
    // it (PrintProcessor=, LanguageMonitor=), or copies its file (a path or a bare name).
    bool InstallsPrintProcessor(const std::wstring& name, const std::wstring& file) const;
    bool InstallsMonitor(const std::wstring& name, const std::wstring& file) const;
    // The maker's INF files that declare the driver, "oem12.inf, oem20.inf"; empty when none.
    std::wstring InfsOf(const std::wstring& driver) const;

    // Adds what one driver's INF files install.
    void Add(const std::wstring& driver, const std::wstring& infs,
             const std::vector<std::wstring>& printProcessors,
             const std::vector<std::wstring>& monitors, const std::vector<std::wstring>& files);

private:
    bool CopiesFileOf(const std::wstring& file) const;

    std::unordered_map<std::wstring, std::wstring> m_infs;  // by folded driver name
    std::unordered_set<std::wstring> m_printProcessors, m_monitors, m_files;  // folded
};

}  // namespace norvane
