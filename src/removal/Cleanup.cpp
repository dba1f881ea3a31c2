#include "removal/Cleanup.h"

#include <algorithm>
#include <map>

#include "removal/LeftoverPaths.h"
#include "removal/PackageInstalls.h"
#include "removal/PutOff.h"
#include "removal/WhatStays.h"
#include "support/Text.h"
#include "support/WinPath.h"

namespace norvane {
namespace {

namespace win = platform::win;

bool IsLink(std::uint32_t attributes) {
    return attributes != platform::kInvalidFileAttributes &&
           (attributes & platform::kFileAttributeReparsePoint);
}

bool RemoveTree(platform::FileSystem& files, const std::wstring& folder) {
    std::vector<platform::FindEntry> entries;
    (void)files.Find(path::Join(folder, L"*"), entries);
    // Full paths throughout: the working folder is the process's, not the removal's to change.
    // Whatever can go goes; what stays (a file in use) keeps its folders in place. A junction or
    // link goes as a link: what it leads to is not this folder's.
    for (const auto& entry : entries) {
        if (entry.name == L"." || entry.name == L"..")
            continue;
        const std::wstring full = path::Join(folder, entry.name);
        if ((entry.attributes & platform::kFileAttributeDirectory) && IsLink(entry.attributes)) {
            (void)files.RemoveDirectory(full);
        } else if (entry.attributes & platform::kFileAttributeDirectory) {
            RemoveTree(files, full);
        } else {
            DeleteFileByRule(files, full);
        }
    }
    return files.RemoveDirectory(folder) == win::kSuccess;
}

// Whether a folder on the way to `folder` (the drive's root and the folder itself excluded) is a
// junction or link: what lies behind it is wherever the link leads, not where the path reads.
bool ThroughLink(platform::FileSystem& files, const std::wstring& folder) {
    const std::wstring path =
        folder.ends_with(L'\\') ? folder.substr(0, folder.size() - 1) : folder;
    for (auto slash = path.find(L'\\', 3); slash != std::wstring::npos;
         slash = path.find(L'\\', slash + 1)) {
        std::uint32_t attributes = platform::kInvalidFileAttributes;
        if (files.GetAttributes(path.substr(0, slash), attributes) == win::kSuccess &&
            IsLink(attributes))
            return true;
    }
    return false;
}

// The log's failure entries of one driver: F1, F2, ... under the driver's section.
class FailureEntries {
public:
    FailureEntries(RunContext& context, std::wstring driver)
        : m_context(context), m_driver(std::move(driver)) {}

    void Add(const std::wstring& path) {
        const std::wstring key = L"F" + std::to_wstring(++m_count);
        m_context.WriteLog(m_driver.c_str(), key.c_str(), path.c_str());
    }
    int Count() const { return m_count; }
    const std::wstring& Driver() const { return m_driver; }

private:
    RunContext& m_context;
    std::wstring m_driver;
    int m_count = 0;
};

struct Components {
    bool monitor, printProcessor, spoolFolder;
};

// A component shared with other drivers goes with the first of them in array order, and only
// when every one of them is being removed. Worked out once for the pass: a print server's
// thousands of drivers would otherwise each be compared with every other.
class ComponentOwners {
public:
    explicit ComponentOwners(const Inventory& inventory) {
        for (std::size_t i = 0; i < inventory.m_arrDriver.size(); ++i) {
            const CDriverData& driver = *inventory.m_arrDriver[i];
            const bool goes = driver.Selected() && driver.PrinterCount() == 0;
            Note(m_monitors, driver.MonitorName(), i, goes);
            if (driver.PrintProcessor())
                Note(m_printProcessors, *driver.PrintProcessor(), i, goes);
            Note(m_hardwareIds, driver.HardwareId(), i, goes);
        }
    }

    Components For(const CDriverData& driver, std::size_t index) const {
        return {Owns(m_monitors, driver.MonitorName(), index),
                driver.PrintProcessor() && Owns(m_printProcessors, *driver.PrintProcessor(), index),
                Owns(m_hardwareIds, driver.HardwareId(), index)};
    }

private:
    struct Sharers {
        std::size_t first;
        bool allGo;
    };
    using ByName = std::map<std::wstring, Sharers, text::NoCaseLess>;

    static void Note(ByName& owners, const std::wstring& name, std::size_t index, bool goes) {
        if (name.empty())
            return;
        const auto [it, added] = owners.try_emplace(name, Sharers{index, goes});
        if (!added)
            it->second.allGo = it->second.allGo && goes;
    }
    static bool Owns(const ByName& owners, const std::wstring& name, std::size_t index) {
        const auto it = name.empty() ? owners.end() : owners.find(name);
        return it != owners.end() && it->second.first == index && it->second.allGo;
    }

    ByName m_monitors, m_printProcessors, m_hardwareIds;
};

constexpr int kNotThePackages = 3;

// What a refusal of a monitor or print processor comes to: no maker's INF file installs it
// (it stays, and that is said, not counted as a failure), or any other refusal (1).
int RefusedComponent(Refusal refusal) {
    return refusal == Refusal::NotInstalled ? kNotThePackages : refusal == Refusal::None ? 0 : 1;
}

// 0 removed or put off until after a restart, 1 the file stayed or the rule refused, 2 no path,
// 3 not the package's.
int RemoveMonitor(const RemovalRun& run, const Ownership& ownership, const std::wstring& name,
                  const std::wstring& file) {
    platform::Platform& platform = run.context.P();
    if (file.empty())
        return 2;
    if (const int refused = RefusedComponent(ownership.ForMonitor(name, file)))
        return refused;
    // A monitor already gone (a removal cut off after it went) leaves only its file to delete.
    if (const platform::WinError error = platform.spooler.DeleteMonitor(name);
        error != win::kSuccess && error != win::kUnknownPrintMonitor) {
        PutOffMonitor(platform, run.package, run.results, file, name);
        return 0;
    }
    return DeleteFileByRule(platform.files, file) ? 0 : 1;
}

constexpr int kPutOff = 4;

// 0 removed, 1 the spooler or the rule refused, or the file stayed, 2 no path, 3 not the
// package's, 4 put off until after a restart.
int RemovePrintProcessor(const RemovalRun& run, const Ownership& ownership,
                         const std::wstring& name, const std::wstring& file) {
    platform::Platform& platform = run.context.P();
    if (file.empty())
        return 2;
    if (const int refused = RefusedComponent(ownership.ForPrintProcessor(name, file)))
        return refused;
    const platform::WinError error = platform.spooler.DeletePrintProcessor(L"", name);
    // In use: only by a printer the run deleted that is pending deletion, since the rule keeps
    // what a remaining printer uses. The restart ends that printer, and so frees its processor.
    if (error == win::kCanNotComplete) {
        PutOffPrintProcessor(platform, run.package, run.results, file, name);
        return kPutOff;
    }
    if (error != win::kSuccess && error != win::kUnknownPrintProcessor)
        return 1;
    return DeleteFileByRule(platform.files, file) ? 0 : 1;
}

// The decisions of one pass: what is shared with whom, and what the removal may take at all.
struct Rules {
    const ComponentOwners& owners;
    const Ownership& ownership;
    const PackageInstalls& installs;
};

// Says under the driver's section why its monitor or print processor stays: no INF file of the
// maker installs it. A key of its own, so that the failure entries keep their numbering.
void NoteNotInstalled(const RemovalRun& run, const Rules& rules, const CDriverData& driver,
                      const wchar_t* key, const std::wstring& name) {
    const std::wstring infs = rules.installs.InfsOf(driver.DriverName());
    const std::wstring why =
        name + (infs.empty() ? L": kept, no INF file of " + run.package.g_strOemProvider +
                                   L" declares the driver"
                             : L": kept, not installed by " + infs);
    run.context.WriteLog(driver.DriverName().c_str(), key, why.c_str());
}

void RemoveDriverLeftovers(const RemovalRun& run, std::size_t index, const Places& places,
                           const Rules& rules, FailureEntries& failures, int& flags) {
    platform::Platform& platform = run.context.P();
    CDriverData& driver = *run.inventory.m_arrDriver[index];
    const std::wstring& windowsDir = places.windowsDir;
    for (const std::wstring& candidate : DataFolderCandidates(places, driver.FamilyCode())) {
        driver.m_strDataFolder = candidate;
        if (candidate.empty())
            break;
        const int result = RemoveFolder(platform.files, rules.ownership, driver.m_strDataFolder);
        if (result == 3)
            continue;
        if (result == 1) {
            flags |= kDataFolderStayed;
            failures.Add(driver.m_strDataFolder);
        }
        break;
    }

    const Components wanted = rules.owners.For(driver, index);
    if (wanted.monitor) {
        driver.m_strMonitorPath = MonitorFileOf(platform, windowsDir, driver);
        const int result =
            RemoveMonitor(run, rules.ownership, driver.MonitorName(), driver.m_strMonitorPath);
        if (result == kNotThePackages) {
            NoteNotInstalled(run, rules, driver, L"Monitor", driver.MonitorName());
        } else if (result != 0) {
            flags |= kMonitorStayed;
            failures.Add(driver.m_strMonitorPath);
        }
    }
    if (wanted.printProcessor) {
        const std::wstring& name = *driver.PrintProcessor();
        driver.m_strX64PrintProcessorPath = PrintProcessorFile(windowsDir, L"x64", name);
        driver.m_strX86PrintProcessorPath = PrintProcessorFile(windowsDir, L"w32x86", name);
        const int result =
            RemovePrintProcessor(run, rules.ownership, name, driver.m_strX64PrintProcessorPath);
        if (result == kNotThePackages) {
            NoteNotInstalled(run, rules, driver, L"PrintProcessor", name);
        } else if (result == 0) {
            RemoveX86PrintProcessor(platform, rules.ownership, windowsDir, name);
        } else if (result != kPutOff) {
            flags |= kPrintProcessorStayed;
            failures.Add(driver.m_strX64PrintProcessorPath);
        }
    }
    if (wanted.spoolFolder) {
        driver.m_strDriverFolder = SpoolFolderFor(windowsDir, driver.HardwareId());
        if (RemoveFolder(platform.files, rules.ownership, driver.m_strDriverFolder) == 1) {
            flags |= kSpoolFolderStayed;
            failures.Add(driver.m_strDriverFolder);
        }
    }
}

// What this pass removes: the drivers it treats (and their 32-bit twins, which go by the same
// name), the printers the run deleted, and the monitors and print processors that go with them
// and that the maker's INF files install.
Removing WhatThePassRemoves(platform::Platform& platform, const Inventory& inventory,
                            const Places& places, const ComponentOwners& owners,
                            const PackageInstalls& installs) {
    Removing removing;
    for (std::size_t i = 0; i < inventory.m_arrDriver.size(); ++i) {
        const CDriverData& driver = *inventory.m_arrDriver[i];
        if (!driver.Selected() || driver.PrinterCount() != 0)
            continue;
        removing.drivers.insert(Removing::Key(driver.DriverName()));
        const Components goes = owners.For(driver, i);
        const std::wstring& monitor = driver.MonitorName();
        if (goes.monitor && installs.InstallsMonitor(
                                monitor, MonitorFilePath(platform, places.windowsDir, monitor)))
            removing.monitors.insert(Removing::Key(monitor));
        if (goes.printProcessor &&
            installs.InstallsPrintProcessor(
                *driver.PrintProcessor(),
                PrintProcessorFile(places.windowsDir, L"x64", *driver.PrintProcessor())))
            removing.printProcessors.insert(Removing::Key(*driver.PrintProcessor()));
    }
    for (const auto& printer : inventory.m_arrPrinter) {
        if (printer->Selected())
            removing.printers.insert(Removing::Key(printer->PrinterName()));
    }
    return removing;
}

}  // namespace

void RemoveX86PrintProcessor(platform::Platform& platform, const Ownership& ownership,
                             const std::wstring& windowsDir, const std::wstring& name) {
    (void)platform.spooler.DeletePrintProcessor(platform::kEnvironmentX86, name);
    const std::wstring file = PrintProcessorFile(windowsDir, L"w32x86", name);
    if (ownership.ForFile(file) == Refusal::None)
        DeleteFileByRule(platform.files, file);
}

bool DeleteFileByRule(platform::FileSystem& files, const std::wstring& path) {
    platform::WinError error = files.DeleteFile(path);
    if (error == win::kAccessDenied) {
        (void)files.SetAttributes(path, platform::kFileAttributeNormal);
        // Removed only when this second attempt succeeds.
        error = files.DeleteFile(path);
    }
    return error == win::kSuccess || error == win::kFileNotFound;
}

int RemoveFolder(platform::FileSystem& files, const Ownership& ownership,
                 const std::wstring& folder) {
    if (folder.empty() || !files.PathIsDirectory(folder))
        return 3;
    if (ownership.ForFolder(folder) != Refusal::None || ThroughLink(files, folder))
        return 1;
    // The folder itself a junction: the link goes, its target stays.
    std::uint32_t attributes = platform::kInvalidFileAttributes;
    if (files.GetAttributes(folder, attributes) == win::kSuccess && IsLink(attributes))
        return files.RemoveDirectory(folder) == win::kSuccess ? 0 : 1;
    return RemoveTree(files, folder) ? 0 : 1;
}

int CleanupPass(const RemovalRun& run, const PackageInstalls& installs) {
    platform::Platform& platform = run.context.P();
    const Inventory& inventory = run.inventory;
    std::wstring& systemDir = run.package.m_strSystemDir;
    int flags = 0;
    const Places places = Places::Of(platform, run.package.Config());
    systemDir = places.windowsDir.empty() ? L"" : places.windowsDir + L"\\system32\\";

    // Shared-file failures are logged under the first driver that has failures of its own, or
    // else the first driver processed.
    std::optional<FailureEntries> reference;
    const ComponentOwners owners(inventory);
    const Ownership ownership(
        WhatStays(platform, places,
                  WhatThePassRemoves(platform, inventory, places, owners, installs)),
        &installs);
    const Rules rules{owners, ownership, installs};
    for (std::size_t i = 0; i < inventory.m_arrDriver.size(); ++i) {
        CDriverData& driver = *inventory.m_arrDriver[i];
        if (!driver.Selected() || driver.PrinterCount() != 0)
            continue;
        FailureEntries failures(run.context, driver.DriverName());
        int own = 0;
        RemoveDriverLeftovers(run, i, places, rules, failures, own);
        flags |= own;
        // A driver's result speaks of its own leftovers, not of an earlier driver's.
        const bool failed = !driver.DeleteOK() || own != 0;
        run.results.m_mapPrinterResult[kDriverKey + driver.DriverName()] = failed ? L"1" : L"0";
        if (!reference || (reference->Count() == 0 && failures.Count() > 0))
            reference.emplace(failures);
    }

    if (inventory.m_nDriversToDelete == static_cast<int>(inventory.m_arrDriver.size()) &&
        !systemDir.empty()) {
        bool stayed[2];
        for (int f = 0; f < 2; ++f) {
            const std::wstring file = systemDir + kSharedFiles[f];
            stayed[f] =
                ownership.ForFile(file) != Refusal::None || !DeleteFileByRule(platform.files, file);
        }
        if (stayed[0] || stayed[1]) {
            flags |= kSharedFileStayed;
            if (reference) {
                run.results.m_mapPrinterResult[kDriverKey + reference->Driver()] = L"1";
                for (int f = 0; f < 2; ++f) {
                    if (stayed[f])
                        reference->Add(systemDir + kSharedFiles[f]);
                }
            }
        }
    }
    return flags;
}

}  // namespace norvane
