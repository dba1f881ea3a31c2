#include "extras/UtilityTable.h"

#include "app/Controller.h"
#include "extras/UninstallEntry.h"

namespace norvane {
namespace {

std::wstring SlotSection(std::size_t slot) {
    return L"Default.U" + std::to_wstring(slot + 1);
}

std::wstring ReadSlot(CUninstallerController& app, std::size_t slot, const wchar_t* key) {
    return app.Config().Read(SlotSection(slot).c_str(), key);
}

// Reads `prefix`1, `prefix`2, ... of the section into the slots until an empty value.
template <typename Store>
void ReadNumbered(CUninstallerController& app, const wchar_t* section, const wchar_t* prefix,
                  Store store) {
    for (std::size_t slot = 0; slot < kUtilitySlots; ++slot) {
        const std::wstring value = app.Config().Read(section, prefix + std::to_wstring(slot + 1));
        if (value.empty())
            return;
        store(slot, value);
    }
}

}  // namespace

bool ReadUtilityIDs(CUninstallerController& app) {
    ReadNumbered(app, L"DelUty", L"U", [&](std::size_t slot, const std::wstring& id) {
        app.m_utilityEntries[slot].strID = id;
        app.m_capabilities.entries[slot].id = id;
    });
    return !app.m_utilityEntries[0].strID.empty();
}

void ReadUtilityKeys(CUninstallerController& app) {
    for (std::size_t slot = 0; slot < kUtilitySlots; ++slot) {
        const std::wstring key = ReadSlot(app, slot, L"KEY");
        if (key.empty())
            return;
        app.m_utilityEntries[slot].strKey = key;
        app.m_capabilities.entries[slot].key = key;
    }
}

void ReadUtilityValues(CUninstallerController& app) {
    for (std::size_t slot = 0; slot < kUtilitySlots; ++slot) {
        const std::wstring value = ReadSlot(app, slot, L"VALUE");
        app.m_utilityEntries[slot].strValue = value;
        app.m_capabilities.entries[slot].value = value;
    }
}

void CopyUtilityInUseFlags(CUninstallerController& app) {
    for (std::size_t slot = 0; slot < kUtilitySlots; ++slot)
        app.m_utilityEntries[slot].nInUse = app.m_capabilities.entries[slot].inUse;
}

void ReadUtilityGUIDs(CUninstallerController& app) {
    for (std::size_t slot = 0; slot < kUtilitySlots; ++slot)
        app.m_utilityEntries[slot].strGUID = ReadSlot(app, slot, L"GUID");
}

void ReadRebootCheckFiles(CUninstallerController& app) {
    ReadNumbered(app, L"RebootCheck", L"R", [&](std::size_t slot, const std::wstring& file) {
        app.m_utilityEntries[slot].strRebootCheckFile = file;
    });
}

void ReadUtilityDisplayNames(CUninstallerController& app, UtilityTexts& names) {
    for (std::size_t slot = 0; slot < kUtilitySlots; ++slot) {
        const UtilityEntry& entry = app.m_utilityEntries[slot];
        if (entry.nInUse)
            continue;
        if (const auto name = ReadUninstallValue(app.P().registry, entry.strGUID, L"DisplayName")) {
            names[slot] = *name;
            app.m_utilityDisplayNames[slot] = *name;
        }
    }
}

bool ReadUtilityTable(CUninstallerController& app) {
    if (!ReadUtilityIDs(app))
        return false;
    ReadUtilityKeys(app);
    ReadUtilityValues(app);
    CheckCapabilities(app);
    CopyUtilityInUseFlags(app);
    ReadUtilityGUIDs(app);
    return true;
}

}  // namespace norvane
