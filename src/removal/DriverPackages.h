// The driver packages Windows keeps in its INF folder (oem<N>.inf with a compiled .pnf beside
// it): finding the one that declares a driver, and removing it from the driver store.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/Platform.h"

namespace norvane {

class DriverPackages {
public:
    // Lists the installed packages once; a package installed later is never matched.
    explicit DriverPackages(platform::Platform& platform);

    // Both read and change through the run's services, which in a preview are its layer.
    // 1 when a package declares the driver; the last such package in the list is then matched.
    // A package's file is read once, unless the package has been removed since.
    int Check(platform::Platform& run, const std::wstring& driverName);
    // Removes the matched package: pnputil on Windows Vista and later, else its two files.
    // 0 on success.
    int Remove(platform::Platform& run);

    const std::wstring& InfFolder() const { return m_infFolder; }
    const std::vector<std::wstring>& Packages() const { return m_packages; }
    const std::wstring& MatchedInf() const { return m_matchedInf; }

private:
    // Reads a package's models and notes which of them it declares.
    void Read(platform::Platform& run, std::size_t package);

    std::wstring m_infFolder;
    std::vector<std::wstring> m_packages;  // base names, in the folder search's order
    // Per package, the model names (quoted, folded) its model sections give a value; read at
    // the first check that reaches the package, and again after the package was removed.
    std::vector<std::optional<std::unordered_set<std::wstring>>> m_models;
    // The packages not read yet (or removed since), and for each model the packages read that
    // declare it: a check looks at the last of those and at the unread packages after it, which
    // is what going through the list from its end would meet, without going through thousands.
    std::set<std::size_t> m_unread;
    std::unordered_map<std::wstring, std::set<std::size_t>> m_declaring;
    std::size_t m_matched = 0;
    std::wstring m_matchedInf;
    std::wstring m_matchedPnf;
};

}  // namespace norvane
