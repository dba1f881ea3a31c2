#include "inventory/Inventory.h"

#include <map>

namespace norvane {

int Inventory::SelectDriversOfSelectedPrinters() {
    std::map<const CDriverData*, bool> allSelected;
    int selected = 0;
    for (const auto& printer : m_arrPrinter) {
        const auto [it, added] = allSelected.try_emplace(printer->Driver(), true);
        it->second = it->second && printer->Selected();
    }
    for (const auto& driver : m_arrDriver) {
        const auto it = allSelected.find(driver.get());
        if (driver->InPackage() && driver->PrinterCount() > 0 &&
            (it == allSelected.end() || it->second)) {
            driver->SetSelected(1);
            ++selected;
        }
    }
    return selected;
}

}  // namespace norvane
