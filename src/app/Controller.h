// The program's single application object: it wires the run's state types together (each layer
// is handed only its part of them), runs the start-up chain and then one run, silent or
// interactive.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/Startup.h"
#include "extras/ExtrasState.h"
#include "inventory/Inventory.h"
#include "inventory/Package.h"
#include "log/Progress.h"
#include "log/Results.h"
#include "log/RunContext.h"
#include "platform/Platform.h"
#include "removal/DriverPackages.h"

namespace norvane {

class CUninstallerController : public RunContext,
                               public Package,
                               public CommandLineOptions,
                               public Inventory,
                               public RunResults,
                               public ExtrasState,
                               public StartupOutcome {
public:
    explicit CUninstallerController(platform::Platform& platform);
    CUninstallerController(const CUninstallerController&) = delete;
    CUninstallerController& operator=(const CUninstallerController&) = delete;

    // The start-up chain, then the run. `commandLine` is the text after the program name.
    // Always 0: the program's work is finished when it returns.
    int InitInstance(const std::wstring& commandLine);
    // Chooses and performs the run mode; 1 when a run was performed, 0 when the interactive run
    // found nothing to remove.
    int Run();
    // Frees the language library.
    void ExitInstance();
    // PostQuitMessage(1): every ending path of the program uses code 1.
    void PostQuit() { m_nQuitCode = 1; }

    std::optional<int> QuitCode() const { return m_nQuitCode; }

    DriverPackages m_driverPackages;
    // Whether this process has looked for the work list of an interrupted removal: once, first.
    bool m_bResumeChecked = false;

private:
    bool StartUp(const std::wstring& commandLine);

    std::optional<int> m_nQuitCode;
};

}  // namespace norvane
