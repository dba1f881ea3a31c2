// What the dialogs read of the run. The interactive run builds it from its state; a model never
// writes through it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "log/Texts.h"
#include "platform/Platform.h"

namespace norvane::ui {

// A printer of the package and the name of its driver.
struct PrinterRow {
    std::wstring name;
    std::wstring driver;
};

// The counts the progress bar is scaled by. They are read where the run keeps them: the utility
// removal counts its utilities while the progress dialog is up.
struct ProgressScale {
    const int& printersOnly;  // the drivers stay
    const int& printers;
    const int& drivers;
    const int& utilities;
};

struct RunView {
    std::wstring LoadText(std::uint32_t id) const { return texts.Load(id); }

    platform::Platform& platform;      // the run's services (in a preview, the layer over them)
    const Texts& texts;                // the user-interface language's texts
    std::function<bool()> quitPosted;  // the program's quit message has been posted
    std::wstring programFolder;        // with its final backslash
    std::wstring languageFolder;       // the language's subfolder of the program folder
    std::vector<std::wstring> packageDrivers;  // the package's printer drivers, as configured
    std::vector<PrinterRow> printers;          // the package's installed printers
    std::vector<std::wstring> loneDrivers;     // the package's drivers that no printer uses
    ProgressScale scale;
};

}  // namespace norvane::ui
