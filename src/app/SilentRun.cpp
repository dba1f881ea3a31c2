#include "app/SilentRun.h"

#include <map>
#include <memory>
#include <vector>

#include "app/Controller.h"
#include "app/Report.h"
#include "app/Restart.h"
#include "extras/ScannerRemoval.h"
#include "extras/UtilityRemoval.h"
#include "extras/UtilityTable.h"
#include "inventory/Enumeration.h"
#include "log/Progress.h"
#include "removal/Worker.h"
#include "support/Text.h"

namespace norvane {
namespace {

void ScannerBranch(CUninstallerController& app, SilentSummary& summary) {
    for (const auto& name : app.m_arrScannerName) {
        if (!FindScanner(app, app.Config(), app.m_arrScanner, name))
            app.m_mapScannerResult[kScannerKey + name] = L"4";
    }
    if (!app.m_arrScanner.empty()) {
        RemoveScanners(app, app.m_arrScanner, app.m_mapScannerResult);
        ReportResult(app, summary.Text(), ReportKind::Done, 0);
        app.m_arrScanner.clear();
        return;
    }
    if (!app.m_bQuiet)
        summary.Line(app.LoadText(160));
    ReportResult(app, summary.Text(), ReportKind::Done, 0);
    app.PostQuit();
}

// The records of an array by their names, without regard to case, each name's in array order.
// A silent run matches every designated name against thousands of records on a print server.
template <typename Record, typename Name>
std::map<std::wstring, std::vector<Record*>, text::NoCaseLess> ByName(
    const std::vector<std::unique_ptr<Record>>& records, Name name) {
    std::map<std::wstring, std::vector<Record*>, text::NoCaseLess> byName;
    for (const auto& record : records)
        byName[(*record.*name)()].push_back(record.get());
    return byName;
}

// Each driver's printers, in array order.
std::map<const CDriverData*, std::vector<CPrinterData*>> PrintersByDriver(
    const CUninstallerController& app) {
    std::map<const CDriverData*, std::vector<CPrinterData*>> printers;
    for (const auto& printer : app.m_arrPrinter)
        printers[printer->Driver()].push_back(printer.get());
    return printers;
}

bool PrinterBranch(CUninstallerController& app, SilentSummary& summary) {
    if (!EnumerateInstalled(app, app, app, 0, 0, Stopper(app))) {
        app.PostQuit();
        return false;
    }
    app.m_bPrintersOnly = 1;
    const auto printers = ByName(app.m_arrPrinter, &CPrinterData::PrinterName);
    for (const auto& name : app.m_arrDesignated) {
        const auto named = printers.find(name);
        if (named != printers.end()) {
            for (CPrinterData* printer : named->second)
                printer->SetSelected(1);
        } else {
            summary.Line(NotRemovedLine(app.texts, 138, name, app.LoadText(151)));
            app.m_mapPrinterResult[kPrinterKey + name] = L"4";
        }
    }
    app.SelectDriversOfSelectedPrinters();
    WorkerBody({app, app, app, app, app.m_driverPackages, app.m_strLogFolder}, summary);
    ReportResult(app, summary.Text(), ReportKind::Done, 0);
    return true;
}

bool DriverBranch(CUninstallerController& app, SilentSummary& summary) {
    if (!EnumerateInstalled(app, app, app, 0, 1, Stopper(app))) {
        app.PostQuit();
        return false;
    }
    const auto drivers = ByName(app.m_arrDriver, &CDriverData::DriverName);
    static const std::vector<CDriverData*> kNoDrivers;
    const auto printersOf = PrintersByDriver(app);
    for (const auto& name : app.m_arrDesignated) {
        bool found = false;
        const auto named = drivers.find(name);
        for (CDriverData* driver : named != drivers.end() ? named->second : kNoDrivers) {
            if (!driver->InPackage())
                continue;
            found = true;
            if (!driver->Selected()) {
                driver->SetSelected(1);
                ++app.m_nDriversToDelete;
            }
            if (const auto printers = printersOf.find(driver); printers != printersOf.end()) {
                for (CPrinterData* printer : printers->second)
                    printer->SetSelected(1);
            }
        }
        if (!found) {
            summary.Line(NotRemovedLine(app.texts, 147, name, app.LoadText(153)));
            app.m_mapPrinterResult[kDriverKey + name] = L"4";
        }
    }
    WorkerBody({app, app, app, app, app.m_driverPackages, app.m_strLogFolder}, summary);
    ReportResult(app, summary.Text(), ReportKind::Done, 0);
    return true;
}

// What follows a printer or driver removal, by the utility switch: "/u 1" last removes the
// utilities no remaining printer needs; without "/u" in force they are only listed, never removed
// unasked; "/u 0" last leaves them alone. The package decides whether its utilities may be
// removed at all ([DelUty] DelCode).
void UtilityTail(CUninstallerController& app, SilentSummary& summary) {
    const bool remove = app.m_bUtilityOptionGiven && app.m_bRemoveUtilities;
    const bool list = !app.m_bUtilityOptionGiven;
    if ((remove || list) && app.Config().IsUtilityRemovalEnabled() &&
        ReadUtilityTable(app, app.Config(), app)) {
        UtilityTexts names;
        ReadUtilityDisplayNames(app.P().registry, app, names);
        if (remove) {
            // The summary goes on from the removal's lines.
            UtilityRun run{app, app, app, app, summary};
            RemoveUtilities(run);
            ReportResult(app, summary.Text(), ReportKind::Done, 0);
        } else {
            // Names are looked up only for the utilities no printer needs.
            for (const auto& name : names) {
                if (!name.empty())
                    app.m_arrUtilityToConfirm.push_back(name);
            }
        }
    }
    // Also when no utility is listed: a driver left for the restart still needs its "-1".
    EndOfRun(app);
}

}  // namespace

void SilentRun(CUninstallerController& app) {
    SilentSummary summary;  // the lines a calling installer finds in the log's message
    if (app.m_bScannersGiven) {
        ScannerBranch(app, summary);
    } else if (app.m_bPrintersGiven) {
        if (PrinterBranch(app, summary))
            UtilityTail(app, summary);
    } else if (app.m_bDriversGiven) {
        if (DriverBranch(app, summary))
            UtilityTail(app, summary);
    } else {
        ReportResult(app, app.LoadText(152), ReportKind::Stop, 4);
    }
}

}  // namespace norvane
