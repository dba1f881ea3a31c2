#include "removal/Worker.h"

#include "log/LogBatch.h"
#include "removal/Cleanup.h"
#include "removal/DriverDeletion.h"
#include "removal/LeftoverPaths.h"
#include "removal/PackageInstalls.h"
#include "removal/PrinterRemoval.h"
#include "removal/PutOff.h"
#include "removal/WorkList.h"

namespace norvane {
namespace {

constexpr std::uint32_t kPrinterOpener = 138;
constexpr std::uint32_t kDriverOpener = 147;
constexpr std::uint32_t kInProgress = 139;
constexpr std::uint32_t kDone = 143;
constexpr std::size_t kDeleteAfterRestartBuffer = 4096;

std::wstring FailureLine(const RemovalRun& run, std::uint32_t opener, const std::wstring& name,
                         platform::WinError error) {
    return NotRemovedLine(run.context.texts, opener, name, ErrorText(run.context.P(), error));
}

void PrinterLoop(const RemovalRun& run, ProgressSink& progress) {
    int handled = 0;
    std::optional<PrinterSettingsBackup> backup;
    if (run.settingsFolder)
        backup.emplace(run.context.P(), run.inventory.m_strDefaultPrinter, *run.settingsFolder,
                       run.results.m_arrSavedPrinterInfo);
    for (const auto& printer : run.inventory.m_arrPrinter) {
        if (!printer->Selected())
            continue;
        const std::wstring& name = printer->PrinterName();
        const std::wstring started = ItemLine(run.context.texts, kPrinterOpener, name, kInProgress);
        progress.Started(started);
        if (backup)
            backup->Save(name);
        const platform::WinError error = DeletePrinterEntry(run.context.P().spooler, *printer);
        if (error == platform::win::kSuccess) {
            progress.Line(ItemLine(run.context.texts, kPrinterOpener, name, kDone), started);
            printer->Driver()->SetPrinterCount(printer->Driver()->PrinterCount() - 1);
        } else {
            progress.Line(FailureLine(run, kPrinterOpener, name, error), started);
        }
        run.results.m_mapPrinterResult[kPrinterKey + name] =
            error == platform::win::kSuccess ? L"0" : L"1";
        progress.Bar(++handled, 0);
    }
}

// Adds a driver the spooler still holds to the list deleted after the restart. Only whole names
// are kept: a name cut by the buffer would name another driver.
void AddToDeleteAfterRestart(RunResults& results, const std::wstring& name) {
    const std::wstring entry = name + L",";
    if (results.m_szDeleteAfterRestart.size() + entry.size() < kDeleteAfterRestartBuffer)
        results.m_szDeleteAfterRestart += entry;
}

// Removes the maker's driver package that declares the driver. Another maker's INF file that
// declares it too stays, and the log says so under the driver's section.
void RemoveDriverPackage(const RemovalRun& run, const std::wstring& driver) {
    DriverPackages& packages = run.driverPackages;
    const std::wstring& maker = run.package.g_strOemProvider;
    if (packages.Check(run.context.P(), driver, maker))
        packages.Remove(run.context.P());
    std::wstring kept;
    for (const auto& [inf, provider] : packages.Foreign())
        kept += (kept.empty() ? L"" : L"; ") + inf + L": kept, its provider \"" + provider +
                L"\" is not " + maker;
    if (!kept.empty())
        run.context.WriteLog(driver.c_str(), L"Package", kept.c_str());
}

// What the removal is about to do, for a run that comes after one cut off: the chosen printers,
// and the chosen drivers with what the cleanup finds their leftovers by. A monitor or print
// processor is listed only where the maker's INF files, which go with the drivers, install it.
WorkList PlanOf(const RemovalRun& run, const PackageInstalls& installs) {
    WorkList list;
    list.saveSettings = run.settingsFolder.has_value();
    for (const auto& printer : run.inventory.m_arrPrinter) {
        if (printer->Selected())
            list.printers.push_back(printer->PrinterName());
    }
    if (run.inventory.m_bPrintersOnly)
        return list;
    platform::Platform& platform = run.context.P();
    const std::wstring windowsDir = Places::Of(platform, run.package.Config()).windowsDir;
    for (const auto& driver : run.inventory.m_arrDriver) {
        if (!driver->Selected())
            continue;
        WorkDriver item;
        item.name = driver->DriverName();
        item.familyCode = driver->FamilyCode();
        item.hardwareId = driver->HardwareId();
        item.infs = installs.InfsOf(item.name);
        const std::wstring monitorFile = MonitorFileOf(platform, windowsDir, *driver);
        if (!driver->MonitorName().empty() &&
            installs.InstallsMonitor(driver->MonitorName(), monitorFile)) {
            item.monitor = driver->MonitorName();
            item.monitorFile = monitorFile;
        }
        const std::wstring processor = driver->PrintProcessor().value_or(L"");
        if (!processor.empty() && installs.InstallsPrintProcessor(
                                      processor, PrintProcessorFile(windowsDir, L"x64", processor)))
            item.printProcessor = processor;
        list.drivers.push_back(std::move(item));
    }
    return list;
}

}  // namespace

int WorkerBody(const RemovalRun& run, ProgressSink& progress) {
    // Read while the packages, and so their INF files, are still there.
    const PackageInstalls installs =
        run.inventory.m_bPrintersOnly
            ? PackageInstalls()
            : PackageInstalls::Read(run.context.P(), run.inventory, run.driverPackages,
                                    run.package.g_strOemProvider);
    WorkList list = PlanOf(run, installs);
    // A list a run cut off before this one left is never overwritten: the run that finishes it
    // comes after this one (the continuation after a restart removes what it put off first).
    const bool listed = (!list.printers.empty() || !list.drivers.empty()) &&
                        !ReadWorkList(run.context.P(), run.package);
    if (listed) {
        WriteWorkList(run.context.P(), run.package, list);
        if (list.leftOut != 0)
            run.context.WriteLog(L"WorkList", L"LeftOut", std::to_wstring(list.leftOut).c_str());
    }
    const int flags = RemoveChosen(run, installs, progress);
    if (listed)
        ForgetWorkList(run.context.P(), run.package);
    return flags;
}

int RemoveChosen(const RemovalRun& run, const PackageInstalls& installs, ProgressSink& progress) {
    platform::Spooler& spooler = run.context.P().spooler;
    std::wstring defaultPrinter;
    if (spooler.GetDefaultPrinter(defaultPrinter) == platform::win::kSuccess)
        run.inventory.m_strDefaultPrinter = defaultPrinter;
    PrinterLoop(run, progress);
    // A deleted default printer leaves the choice of a new one to the spooler.
    (void)spooler.SetDefaultPrinter(L"");
    return DriverLoop(run, installs, progress);
}

int DriverLoop(const RemovalRun& run, const PackageInstalls& installs, ProgressSink& progress) {
    if (run.inventory.m_bPrintersOnly)
        return 0;
    int handled = 0;
    bool inUse = false;
    for (const auto& driver : run.inventory.m_arrDriver) {
        if (!driver->Selected() || driver->PrinterCount() != 0)
            continue;
        const std::wstring& name = driver->DriverName();
        const std::wstring started = ItemLine(run.context.texts, kDriverOpener, name, kInProgress);
        progress.Started(started);
        RemoveDriverPackage(run, name);
        const platform::WinError error = DeleteDriver(run.context, run.package.Config(), *driver);
        if (error == platform::win::kSuccess) {
            progress.Line(ItemLine(run.context.texts, kDriverOpener, name, kDone), started);
        } else {
            driver->SetDeleteOK(0);
            if (error == platform::win::kPrinterDriverInUse) {
                // Held by the spooler: it goes after the restart, and reads as removed.
                inUse = true;
                AddToDeleteAfterRestart(run.results, name);
                progress.Line(ItemLine(run.context.texts, kDriverOpener, name, kDone), started);
            } else {
                progress.Line(FailureLine(run, kDriverOpener, name, error), started);
            }
        }
        progress.Bar(++handled, 1);
    }
    if (inUse)
        PutOffDrivers(run.context.P(), run.package, run.results);
    const int flags = CleanupPass(run, installs);
    progress.Bar(0, 2);
    return flags;
}

}  // namespace norvane
