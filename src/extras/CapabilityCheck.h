// Which utilities the printers that stay installed still need. Each printer's driver lists a
// capability file (".CAP", INI format) that names the maker's capability section; a utility whose
// key holds its value there is in use and is not removed.
#pragma once

#include <string>
#include <vector>

#include "extras/UtilityTable.h"
#include "inventory/Config.h"

namespace norvane {

class RunContext;

struct CapabilityTable {
    std::vector<std::wstring> printers;  // the printers that took part in the last check
};

// Builds the list of printers and marks the utilities each of them needs.
void CheckCapabilities(RunContext& context, const PackageConfig& config, UtilityEntries& entries,
                       CapabilityTable& table);
// Sets the in-use flag of every utility that the printer's capability file asks for.
void MarkUtilitiesInUse(RunContext& context, const PackageConfig& config, UtilityEntries& entries,
                        const std::wstring& printerName);
// The full path of the printer's capability file; empty when it has none.
std::wstring FindCapabilityFile(RunContext& context, const std::wstring& printerName);
// 1 when the printer's capability file allows its use from another computer.
int IsRemoteCapable(RunContext& context, const std::wstring& printerName);

}  // namespace norvane
