#include "app/Controller.h"

#include "app/CommandLine.h"
#include "app/InteractiveRun.h"
#include "app/PreviewReport.h"
#include "app/Report.h"
#include "app/Restart.h"
#include "app/SilentRun.h"
#include "app/Startup.h"
#include "app/TraceStart.h"
#include "inventory/Enumeration.h"

namespace norvane {

CUninstallerController::CUninstallerController(platform::Platform& platform)
    : RunContext(platform), Package(platform.profile), m_driverPackages(platform) {
    g_szModuleDir = ModuleFolder(Machine().system.ModuleFileName());
}

int CUninstallerController::InitInstance(const std::wstring& commandLine) {
    if (StartUp(commandLine)) {
        m_bStartedUp = 1;
        Run();
    }
    if (Previewing())
        WritePreviewSection(*this);
    EndTrace(*this);
    return 0;
}

// Strictly in this order; the first step that fails ends the program. The switches are read
// first, acted on only in their step: "/e", "/s" and "/o" decide how every failure is told, the
// earliest too (no message box in a silent run, which may run where nobody can answer one).
bool CUninstallerController::StartUp(const std::wstring& commandLine) {
    ReadSwitches(*this, commandLine);
    return InitControls(*this) && LoadResourceLibrary(*this, commandLine) &&
           CheckSingleInstance(*this) && SelectMode(*this, commandLine) &&
           CheckAdministrator(*this) && ReadCommonConfig(*this);
}

int CUninstallerController::Run() {
    FinishInterruptedRemoval(*this);
    if (m_bSilent) {
        SilentRun(*this);
        return 1;
    }
    if (!EnumerateInstalled(*this, *this, *this, 1, 1, Stopper(*this)))
        return 0;
    InteractiveRun(*this);
    return 1;
}

void CUninstallerController::ExitInstance() {
    texts.m_hResourceLib.reset();
}

}  // namespace norvane
