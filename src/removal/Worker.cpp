#include "removal/Worker.h"

#include "app/Controller.h"
#include "app/Restart.h"
#include "app/Report.h"
#include "removal/Cleanup.h"
#include "removal/DriverDeletion.h"
#include "removal/PackageInstalls.h"
#include "removal/PrinterRemoval.h"
#include "removal/Progress.h"
#include "support/Text.h"

namespace norvane {
namespace {

constexpr std::uint32_t kPrinterOpener = 138;
constexpr std::uint32_t kDriverOpener = 147;
constexpr std::uint32_t kInProgress = 139;
constexpr std::uint32_t kDone = 143;
constexpr std::size_t kDeleteAfterRestartBuffer = 4096;

std::wstring Line(CUninstallerController& app, std::uint32_t opener, const std::wstring& name,
                  std::uint32_t ending) {
    return text::Bounded(app.LoadText(opener) + name + app.LoadText(ending), kLineBuffer);
}

void PrinterLoop(CUninstallerController& app) {
    int handled = 0;
    PrinterSettingsBackup backup(app);
    for (const auto& printer : app.m_arrPrinter) {
        if (!printer->Selected())
            continue;
        const std::wstring& name = printer->PrinterName();
        const std::wstring started = Line(app, kPrinterOpener, name, kInProgress);
        if (!app.m_bSilent)
            ProgressLine(app, started);
        if (app.m_bSilent)
            backup.Save(name);
        const platform::WinError error = DeletePrinterEntry(app, *printer);
        if (error == platform::win::kSuccess) {
            ProgressLine(app, Line(app, kPrinterOpener, name, kDone), started);
            printer->Driver()->SetPrinterCount(printer->Driver()->PrinterCount() - 1);
        } else {
            ProgressLine(app, FailureLine(app, kPrinterOpener, name, error), started);
        }
        app.m_mapPrinterResult[kPrinterKey + name] = error == platform::win::kSuccess ? L"0" : L"1";
        Progress(app, ++handled, 0);
    }
}

// Adds a driver the spooler still holds to the list deleted after the restart. Only whole names
// are kept: a name cut by the buffer would name another driver.
void AddToDeleteAfterRestart(CUninstallerController& app, const std::wstring& name) {
    const std::wstring entry = name + L",";
    if (app.m_szDeleteAfterRestart.size() + entry.size() < kDeleteAfterRestartBuffer)
        app.m_szDeleteAfterRestart += entry;
}

// Removes the maker's driver package that declares the driver. Another maker's INF file that
// declares it too stays, and the log says so under the driver's section.
void RemoveDriverPackage(CUninstallerController& app, const std::wstring& driver) {
    DriverPackages& packages = app.m_driverPackages;
    if (packages.Check(app.P(), driver, app.g_strOemProvider))
        packages.Remove(app.P());
    std::wstring kept;
    for (const auto& [inf, provider] : packages.Foreign())
        kept += (kept.empty() ? L"" : L"; ") + inf + L": kept, its provider \"" + provider +
                L"\" is not " + app.g_strOemProvider;
    if (!kept.empty())
        app.WriteLog(driver.c_str(), L"Package", kept.c_str());
}

}  // namespace

int WorkerBody(CUninstallerController& app) {
    std::wstring defaultPrinter;
    if (app.P().spooler.GetDefaultPrinter(defaultPrinter) == platform::win::kSuccess)
        app.m_strDefaultPrinter = defaultPrinter;
    PrinterLoop(app);
    // A deleted default printer leaves the choice of a new one to the spooler.
    app.P().spooler.SetDefaultPrinter(L"");
    return DriverLoop(app);
}

int DriverLoop(CUninstallerController& app) {
    if (app.m_bPrintersOnly)
        return 0;
    int handled = 0;
    bool inUse = false;
    // Read while the packages, and so their INF files, are still there.
    const PackageInstalls installs = PackageInstalls::Read(app);
    for (const auto& driver : app.m_arrDriver) {
        if (!driver->Selected() || driver->PrinterCount() != 0)
            continue;
        const std::wstring& name = driver->DriverName();
        const std::wstring started = Line(app, kDriverOpener, name, kInProgress);
        if (!app.m_bSilent)
            ProgressLine(app, started);
        RemoveDriverPackage(app, name);
        const platform::WinError error = DeleteDriver(app, *driver);
        if (error == platform::win::kSuccess) {
            ProgressLine(app, Line(app, kDriverOpener, name, kDone), started);
        } else {
            driver->SetDeleteOK(0);
            if (error == platform::win::kPrinterDriverInUse) {
                // Held by the spooler: it goes after the restart, and reads as removed.
                inUse = true;
                AddToDeleteAfterRestart(app, name);
                ProgressLine(app, Line(app, kDriverOpener, name, kDone), started);
            } else {
                ProgressLine(app, FailureLine(app, kDriverOpener, name, error), started);
            }
        }
        Progress(app, ++handled, 1);
    }
    if (inUse)
        PutOffDrivers(app);
    const int flags = CleanupPass(app, installs);
    Progress(app, 0, 2);
    return flags;
}

}  // namespace norvane
