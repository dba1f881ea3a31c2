// The package's utilities as config.ini lists them ([DelUty] U1..U20, [Default.U<n>],
// [RebootCheck] R<n>): twenty slots, read before utilities are offered or removed.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "inventory/Config.h"
#include "platform/Registry.h"

namespace norvane {

struct ExtrasState;
class RunContext;

// config.ini describes at most this many utilities.
inline constexpr std::size_t kUtilitySlots = 20;

// One utility: slot n-1 for utility n.
struct UtilityEntry {
    std::wstring strID;  // also the base name of its response file, ISS\<id>.iss
    std::wstring strGUID;
    std::wstring strKey;    // the capability a printer needs the utility for
    std::wstring strValue;  // the value of that capability that means "needed"
    std::wstring strRebootCheckFile;
    std::int32_t nInUse = 0;  // a printer that stays still needs it
};

using UtilityEntries = std::array<UtilityEntry, kUtilitySlots>;
using UtilityTexts = std::array<std::wstring, kUtilitySlots>;

// [DelUty] U1, U2, ... up to the first empty one; true when U1 is set.
bool ReadUtilityIDs(const PackageConfig& config, UtilityEntries& entries);
// [Default.U<n>] KEY up to the first empty one.
void ReadUtilityKeys(const PackageConfig& config, UtilityEntries& entries);
// [Default.U<n>] VALUE of all twenty slots.
void ReadUtilityValues(const PackageConfig& config, UtilityEntries& entries);
// [Default.U<n>] GUID of all twenty slots.
void ReadUtilityGUIDs(const PackageConfig& config, UtilityEntries& entries);
// [RebootCheck] R1, R2, ... up to the first empty one.
void ReadRebootCheckFiles(const PackageConfig& config, UtilityEntries& entries);
// The installed display name of every slot not in use, into `names` and the run's own list;
// slots whose entry or name is missing keep what either held.
void ReadUtilityDisplayNames(platform::Registry& registry, ExtrasState& extras,
                             UtilityTexts& names);

// The reading that comes before utilities are offered or removed: identifiers, keys, values, the
// capability check of the printers that stay, and the GUIDs. False (and nothing read after the
// identifiers) when config.ini lists no utility.
bool ReadUtilityTable(RunContext& context, const PackageConfig& config, ExtrasState& extras);

}  // namespace norvane
