// One run's utilities and scanners: what config.ini lists of the utilities, what the printers
// that stay still need, and the records the removal of either works through.
#pragma once

#include <memory>
#include <vector>

#include "extras/CapabilityCheck.h"
#include "extras/UtilityTable.h"
#include "inventory/Records.h"

namespace norvane {

struct ExtrasState {
    std::vector<std::unique_ptr<CScannerDriverData>> m_arrScanner;
    std::vector<std::unique_ptr<CUtilityData>> m_arrUtility;
    // The utilities config.ini lists, what the printers that stay need, and one removal's lists:
    // m_arrUtility with its parallel display names, identifiers and restart-check files.
    UtilityEntries m_utilityEntries;
    UtilityTexts m_utilityDisplayNames;
    CapabilityTable m_capabilities;
    CmyStringArray m_arrUtilityName;
    CmyStringArray m_arrUtilityRemoveId;
    CmyStringArray m_arrRebootCheckFile;
    CmyStringArray m_arrUtilityToConfirm;  // installed utilities a silent run left in place
    int m_nUtilitiesToDelete = 0;
    int m_bUtilitiesConfirmed = 0;  // the user accepted the utility list
};

}  // namespace norvane
