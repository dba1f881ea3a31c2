// The package's utilities as config.ini lists them ([DelUty] U1..U20, [Default.U<n>],
// [RebootCheck] R<n>): twenty slots, read into the controller before utilities are offered or
// removed.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "removal/CapabilityCheck.h"

namespace norvane {

class CUninstallerController;

struct UtilityEntry {
    std::wstring strID;  // also the base name of its response file, ISS\<id>.iss
    std::wstring strGUID;
    std::wstring strKey;
    std::wstring strValue;
    std::wstring strRebootCheckFile;
    std::int32_t nInUse = 0;  // a printer that stays still needs it
};

using UtilityTexts = std::array<std::wstring, kUtilitySlots>;

// [DelUty] U1, U2, ... up to the first empty one; true when U1 is set.
bool ReadUtilityIDs(CUninstallerController& app);
// [Default.U<n>] KEY up to the first empty one.
void ReadUtilityKeys(CUninstallerController& app);
// [Default.U<n>] VALUE of all twenty slots.
void ReadUtilityValues(CUninstallerController& app);
void CopyUtilityInUseFlags(CUninstallerController& app);
// [Default.U<n>] GUID of all twenty slots.
void ReadUtilityGUIDs(CUninstallerController& app);
// [RebootCheck] R1, R2, ... up to the first empty one.
void ReadRebootCheckFiles(CUninstallerController& app);
// The installed display name of every slot not in use; slots whose entry or name is missing keep
// what `names` held.
void ReadUtilityDisplayNames(CUninstallerController& app, UtilityTexts& names);

// The reading that comes before utilities are offered or removed: identifiers, keys, values, the
// capability check of the printers that stay, the in-use flags and the GUIDs. False (and nothing
// read after the identifiers) when config.ini lists no utility.
bool ReadUtilityTable(CUninstallerController& app);

}  // namespace norvane
