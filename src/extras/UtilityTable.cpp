#include "extras/UtilityTable.h"

#include "extras/CapabilityCheck.h"
#include "extras/ExtrasState.h"
#include "extras/UninstallEntry.h"
#include "log/RunContext.h"

namespace norvane {
namespace {

std::wstring ReadSlot(const PackageConfig& config, std::size_t slot, const wchar_t* key) {
    return config.Read((L"Default.U" + std::to_wstring(slot + 1)).c_str(), key);
}

// Reads `prefix`1, `prefix`2, ... of the section into the slots until an empty value.
template <typename Store>
void ReadNumbered(const PackageConfig& config, const wchar_t* section, const wchar_t* prefix,
                  Store store) {
    for (std::size_t slot = 0; slot < kUtilitySlots; ++slot) {
        const std::wstring value = config.Read(section, prefix + std::to_wstring(slot + 1));
        if (value.empty())
            return;
        store(slot, value);
    }
}

}  // namespace

bool ReadUtilityIDs(const PackageConfig& config, UtilityEntries& entries) {
    ReadNumbered(config, L"DelUty", L"U",
                 [&](std::size_t slot, const std::wstring& id) { entries[slot].strID = id; });
    return !entries[0].strID.empty();
}

void ReadUtilityKeys(const PackageConfig& config, UtilityEntries& entries) {
    for (std::size_t slot = 0; slot < kUtilitySlots; ++slot) {
        const std::wstring key = ReadSlot(config, slot, L"KEY");
        if (key.empty())
            return;
        entries[slot].strKey = key;
    }
}

void ReadUtilityValues(const PackageConfig& config, UtilityEntries& entries) {
    for (std::size_t slot = 0; slot < kUtilitySlots; ++slot)
        entries[slot].strValue = ReadSlot(config, slot, L"VALUE");
}

void ReadUtilityGUIDs(const PackageConfig& config, UtilityEntries& entries) {
    for (std::size_t slot = 0; slot < kUtilitySlots; ++slot)
        entries[slot].strGUID = ReadSlot(config, slot, L"GUID");
}

void ReadRebootCheckFiles(const PackageConfig& config, UtilityEntries& entries) {
    ReadNumbered(config, L"RebootCheck", L"R", [&](std::size_t slot, const std::wstring& file) {
        entries[slot].strRebootCheckFile = file;
    });
}

void ReadUtilityDisplayNames(platform::Registry& registry, ExtrasState& extras,
                             UtilityTexts& names) {
    for (std::size_t slot = 0; slot < kUtilitySlots; ++slot) {
        const UtilityEntry& entry = extras.m_utilityEntries[slot];
        if (entry.nInUse)
            continue;
        if (const auto name = ReadUninstallValue(registry, entry.strGUID, L"DisplayName")) {
            names[slot] = *name;
            extras.m_utilityDisplayNames[slot] = *name;
        }
    }
}

bool ReadUtilityTable(RunContext& context, const PackageConfig& config, ExtrasState& extras) {
    UtilityEntries& entries = extras.m_utilityEntries;
    if (!ReadUtilityIDs(config, entries))
        return false;
    ReadUtilityKeys(config, entries);
    ReadUtilityValues(config, entries);
    CheckCapabilities(context, config, entries, extras.m_capabilities);
    ReadUtilityGUIDs(config, entries);
    return true;
}

}  // namespace norvane
