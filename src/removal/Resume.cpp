#include "removal/Resume.h"

#include <algorithm>
#include <map>
#include <set>

#include "inventory/Enumeration.h"
#include "log/LogBatch.h"
#include "removal/PackageInstalls.h"
#include "removal/PutOff.h"
#include "removal/RemovalRun.h"
#include "removal/WorkList.h"
#include "removal/Worker.h"
#include "support/Text.h"

namespace norvane {
namespace {

// The machine as it is, with the list's items chosen on it. A driver still installed is taken as
// the spooler describes it, and the list's word on its monitor and print processor is believed
// only where the two agree; a driver already gone is known from the list alone. Only drivers of
// the package, and printers that use one of the list's drivers, are chosen.
class Chooser {
public:
    Chooser(const Package& package, Inventory& inventory, std::vector<std::wstring>& problems)
        : m_package(package), m_inventory(inventory), m_problems(problems) {}

    void Drivers(const std::vector<WorkDriver>& drivers) {
        std::map<std::wstring, CDriverData*, text::NoCaseLess> installed;
        for (const auto& driver : m_inventory.m_arrDriver) {
            if (driver->InPackage())
                installed.try_emplace(driver->DriverName(), driver.get());
        }
        const std::set<std::wstring, text::NoCaseLess> x86(m_inventory.m_arrX86DriverName.begin(),
                                                           m_inventory.m_arrX86DriverName.end());
        for (const WorkDriver& item : drivers) {
            if (!m_package.Config().IsDriverInPackage(item.name)) {
                m_problems.push_back(L"driver \"" + item.name + L"\": not one of the package's");
                continue;
            }
            if (!m_taken.insert(item.name).second) {
                m_problems.push_back(L"driver \"" + item.name + L"\": listed again");
                continue;
            }
            const auto found = installed.find(item.name);
            CDriverData* driver = found != installed.end() ? found->second : Recorded(item, x86);
            driver->SetSelected(1);
            ++m_inventory.m_nDriversToDelete;
            Evidence evidence{item.name, item.infs, {}, {}};
            if (!item.monitor.empty() && text::EqualsNoCase(item.monitor, driver->MonitorName())) {
                driver->m_strMonitorPath = item.monitorFile;
                evidence.monitors.push_back(item.monitor);
            }
            if (!item.printProcessor.empty() && driver->PrintProcessor() &&
                text::EqualsNoCase(item.printProcessor, *driver->PrintProcessor()))
                evidence.printProcessors.push_back(item.printProcessor);
            m_evidence.push_back(std::move(evidence));
        }
    }

    // What the list says the maker's INF files install, for the drivers whose INF files went
    // before the cut.
    void AddEvidence(PackageInstalls& installs) const {
        for (const auto& item : m_evidence) {
            const std::wstring infs = installs.InfsOf(item.driver);
            installs.Add(item.driver, infs.empty() ? item.infs : infs, item.printProcessors,
                         item.monitors, {});
        }
    }

    // `others`: every printer the spooler has, the package's or not.
    void Printers(const std::vector<std::wstring>& names,
                  const std::set<std::wstring, text::NoCaseLess>& others) {
        std::map<std::wstring, CPrinterData*, text::NoCaseLess> installed;
        for (const auto& printer : m_inventory.m_arrPrinter)
            installed.try_emplace(printer->PrinterName(), printer.get());
        for (const auto& name : names) {
            const auto found = installed.find(name);
            if (found == installed.end()) {
                if (others.contains(name))
                    m_problems.push_back(L"printer \"" + name + L"\": not one of the package's");
                continue;  // or gone already
            }
            if (!found->second->Driver()->Selected()) {
                m_problems.push_back(L"printer \"" + name +
                                     L"\": its driver is not one the list removes");
                continue;
            }
            found->second->SetSelected(1);
            ++m_inventory.m_nPrintersToDelete;
        }
    }

private:
    CDriverData* Recorded(const WorkDriver& item,
                          const std::set<std::wstring, text::NoCaseLess>& x86) {
        auto driver = std::make_unique<CDriverData>(item.name, std::vector<std::wstring>{},
                                                    item.monitor, item.hardwareId, L"");
        driver->SetFamilyCode(item.familyCode);
        driver->SetPrintProcessor(&item.printProcessor);
        driver->SetHasX86Driver(x86.contains(item.name));
        m_inventory.m_arrDriver.push_back(std::move(driver));
        return m_inventory.m_arrDriver.back().get();
    }

    struct Evidence {
        std::wstring driver, infs;
        std::vector<std::wstring> printProcessors, monitors;
    };

    const Package& m_package;
    Inventory& m_inventory;
    std::vector<std::wstring>& m_problems;
    std::vector<Evidence> m_evidence;
    std::set<std::wstring, text::NoCaseLess> m_taken;
};

// A sink for the progress lines, which the log's section replaces.
class NoProgress final : public ProgressSink {
public:
    void Line(const std::wstring&, const std::wstring&) override {}
    void Started(const std::wstring&) override {}
    void ClearLines() override {}
    void Bar(int, int) override {}
};

void Report(RunContext& context, const RunResults& done, const std::vector<std::wstring>& problems,
            RunResults& results) {
    LogBatch log(context);
    for (std::size_t i = 0; i < problems.size(); ++i) {
        // The names came from the registry: a line break in one would write lines of its own.
        std::wstring shown = problems[i];
        std::replace_if(
            shown.begin(), shown.end(), [](wchar_t c) { return c < L' '; }, L'?');
        log.Write(kResumedSection, L"Skipped" + std::to_wstring(i + 1), shown);
    }
    const auto putOff = text::Split(done.m_szDeleteAfterRestart, L',');
    for (const auto& [key, stored] : done.m_mapPrinterResult) {
        const std::wstring name = key.substr(key.find(L' ') + 1);
        const bool waits = key.starts_with(kDriverKey) &&
                           std::any_of(putOff.begin(), putOff.end(), [&](const std::wstring& held) {
                               return text::EqualsNoCase(held, name);
                           });
        const std::wstring value = waits ? L"-1" : stored;
        log.Write(kResumedSection, key, value);
        results.m_mapResumedResult[key] = value;
    }
    log.WriteSavedPrinters(done.m_arrSavedPrinterInfo);
}

}  // namespace

bool ResumeInterruptedRemoval(RunContext& context, Package& package, DriverPackages& packages,
                              RunResults& results, const std::wstring& settingsFolder) {
    platform::Platform& platform = context.P();
    auto stored = ReadWorkList(platform, package);
    if (!stored)
        return false;
    std::vector<std::wstring>& problems = stored->problems;
    Inventory inventory;
    EnumerateDrivers(context, package, inventory);
    if (inventory.m_nEnumerationError == platform::win::kSuccess)
        EnumeratePrinters(context, inventory);
    if (inventory.m_nEnumerationError != platform::win::kSuccess) {
        // Nothing can be checked: the list waits for a run that can.
        context.WriteLog(kResumedSection, L"Spooler",
                         ErrorText(platform, inventory.m_nEnumerationError).c_str());
        return true;
    }
    // A run cut off while it finishes is finished in its turn, after the next start too.
    RegisterRunOnce(platform);
    Chooser chooser(package, inventory, problems);
    chooser.Drivers(stored->list.drivers);
    std::vector<platform::PrinterInfo2> printers;
    std::set<std::wstring, text::NoCaseLess> allPrinters;
    if (platform.spooler.EnumPrinters(
            platform::kPrinterEnumLocal | platform::kPrinterEnumConnections, printers) ==
        platform::win::kSuccess) {
        for (const auto& printer : printers)
            allPrinters.insert(printer.printerName);
    }
    chooser.Printers(stored->list.printers, allPrinters);
    // The INF files of drivers still installed are read as in any removal.
    PackageInstalls installs =
        PackageInstalls::Read(platform, inventory, packages, package.g_strOemProvider);
    chooser.AddEvidence(installs);
    RunResults done;
    NoProgress progress;
    RemoveChosen({context, package, inventory, done, packages,
                  stored->list.saveSettings ? std::optional(settingsFolder) : std::nullopt},
                 installs, progress);
    results.m_bRestartNeeded |= done.m_bRestartNeeded;
    Report(context, done, problems, results);
    ForgetWorkList(platform, package);
    return true;
}

}  // namespace norvane
