// What is installed of the package, as the enumeration found it, and what of it the run chose to
// remove.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "inventory/Records.h"
#include "platform/WinError.h"

namespace norvane {

struct Inventory {
    // The one rule for drivers a selection of printers takes along: a driver of the package goes
    // when every printer that uses it goes. Returns how many drivers it selected.
    int SelectDriversOfSelectedPrinters();

    std::vector<std::unique_ptr<CDriverData>> m_arrDriver;
    std::vector<std::unique_ptr<CPrinterData>> m_arrPrinter;
    CmyStringArray m_arrX86DriverName;
    // The first error an enumeration of the spooler returned (1722 with the service stopped):
    // what is installed is then unknown, never "nothing".
    platform::WinError m_nEnumerationError = 0;
    int m_bNothingInstalled = 0;
    std::wstring m_strDefaultPrinter;  // read once the removal starts
    int m_bPrintersOnly = 0;           // the drivers stay, whatever their printers
    int m_nPrintersToDelete = 0;
    int m_nDriversToDelete = 0;
};

}  // namespace norvane
