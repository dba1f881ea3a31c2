// The driver packages Windows keeps in its INF folder (oem<N>.inf with a compiled .pnf beside
// it): finding the maker's one that declares a driver, and removing it from the driver store.
#pragma once

#include <array>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Platform.h"
#include "removal/InfFile.h"

namespace norvane {

// What a model's install sections in the maker's INF files install besides the driver itself.
struct ModelInstalls {
    std::vector<std::wstring> infs;  // the maker's INF files declaring the model ("oem12.inf")
    std::vector<std::wstring> printProcessors, monitors;  // as PrintProcessor= / LanguageMonitor=
    std::vector<std::wstring> files;                      // the files its CopyFiles lists copy
};

// Another maker's INF file that declares a model too.
struct ForeignPackage {
    std::wstring inf, provider;
};

class DriverPackages {
public:
    // Lists the installed packages once; a package installed later is never matched.
    explicit DriverPackages(platform::Platform& platform);

    // Both read and change through the run's services, which in a preview are its layer.
    // 1 when an INF file whose provider is `maker` declares the driver for 64-bit Windows; of
    // several, the newest DriverVer date is matched, then the higher version, then the higher
    // oem number. Another maker's INF files that declare it are listed in Foreign() and never
    // matched. A package's file is read once, unless the package has been removed since.
    int Check(platform::Platform& run, const std::wstring& driverName, const std::wstring& maker);
    // Removes the matched package: pnputil on Windows Vista and later, else its two files.
    // 0 on success.
    int Remove(platform::Platform& run);
    // What the maker's INF files that declare the driver install for it.
    ModelInstalls Installs(platform::Platform& run, const std::wstring& driverName,
                           const std::wstring& maker);

    const std::wstring& InfFolder() const { return m_infFolder; }
    const std::vector<std::wstring>& Packages() const { return m_packages; }
    const std::wstring& MatchedInf() const { return m_matchedInf; }
    // The other makers' INF files that declared the driver of the last check.
    const std::vector<ForeignPackage>& Foreign() const { return m_foreign; }

private:
    struct Package {
        InfFile inf;
        std::wstring provider;
        std::array<long long, 5> rank{};  // DriverVer: date, then the version's four parts
        // Per model name (folded), the install sections its 64-bit models sections give it.
        std::unordered_map<std::wstring, std::vector<std::wstring>> models;
    };

    void ReadUnread(platform::Platform& run);
    // The maker's packages that declare the model, in the list's order; the others in `foreign`.
    std::vector<std::size_t> MakersDeclaring(const std::wstring& model, const std::wstring& maker,
                                             std::vector<ForeignPackage>& foreign);

    std::wstring m_infFolder;
    std::vector<std::wstring> m_packages;  // base names, in the folder search's order
    // Per package, what was read of it: at the first check, and again after it was removed.
    std::vector<std::optional<Package>> m_read;
    std::set<std::size_t> m_unread;
    std::unordered_map<std::wstring, std::set<std::size_t>> m_declaring;  // model -> packages
    std::size_t m_matched = 0;
    std::wstring m_matchedInf;
    std::wstring m_matchedPnf;
    std::vector<ForeignPackage> m_foreign;
};

}  // namespace norvane
