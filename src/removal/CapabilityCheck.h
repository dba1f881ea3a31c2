// Which utilities the printers that stay installed still need. Each printer's driver lists a
// capability file (".CAP", INI format) that names the maker's capability section; a utility whose
// key holds its value there is in use and is not removed.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace norvane {

class CUninstallerController;

// config.ini describes at most this many utilities.
inline constexpr std::size_t kUtilitySlots = 20;

// One utility as the check sees it: entry n-1 for utility n.
struct CapabilityEntry {
    std::wstring id;
    std::wstring key;    // the capability a printer needs the utility for
    std::wstring value;  // the value of that capability that means "needed"
    std::int32_t inUse = 0;
};

struct CapabilityTable {
    std::array<CapabilityEntry, kUtilitySlots> entries;
    std::vector<std::wstring> printers;  // the printers that took part in the last check
};

// Builds the list of printers and marks the entries each of them needs.
void CheckCapabilities(CUninstallerController& app);
// Sets the in-use flag of every entry that the printer's capability file asks for.
void MarkUtilitiesInUse(CUninstallerController& app, const std::wstring& printerName);
// The full path of the printer's capability file; empty when it has none.
std::wstring FindCapabilityFile(CUninstallerController& app, const std::wstring& printerName);
// 1 when the printer's capability file allows its use from another computer.
int IsRemoteCapable(CUninstallerController& app, const std::wstring& printerName);

}  // namespace norvane
