#include "removal/Cleanup.h"

#include <algorithm>
#include <map>

#include "app/Controller.h"
#include "app/Restart.h"
#include "log/LogFile.h"
#include "log/Reporter.h"
#include "support/Text.h"
#include "support/WinPath.h"

namespace norvane {
namespace {

namespace win = platform::win;

constexpr std::uint32_t kMonitorValueBuffer = 80;  // bytes
constexpr std::size_t kPathBuffer = 300;           // the pass's own path buffers
constexpr wchar_t kSharedFiles[2][13] = {L"MERLAXTE.DLL", L"MERLINDO.DLL"};

bool RemoveTree(CUninstallerController& app, const std::wstring& folder) {
    platform::FileSystem& files = app.P().files;
    std::vector<platform::FindEntry> entries;
    files.Find(path::Join(folder, L"*"), entries);
    // Full paths throughout: the working folder is the process's, not the removal's to change.
    // Whatever can go goes; what stays (a file in use) keeps its folders in place.
    for (const auto& entry : entries) {
        if (entry.name == L"." || entry.name == L"..")
            continue;
        const std::wstring full = path::Join(folder, entry.name);
        if (entry.attributes & platform::kFileAttributeDirectory) {
            RemoveTree(app, full);
        } else {
            DeleteFileByRule(files, full);
        }
    }
    return files.RemoveDirectory(folder) == win::kSuccess;
}

// The log's failure entries of one driver: F1, F2, ... under the driver's section.
class FailureEntries {
public:
    FailureEntries(CUninstallerController& app, std::wstring driver)
        : m_app(app), m_driver(std::move(driver)) {}

    void Add(const std::wstring& path) {
        const std::wstring key = L"F" + std::to_wstring(++m_count);
        WriteLogString(m_app.P(), m_driver.c_str(), key.c_str(), path.c_str(), m_app.m_szLogFile);
    }
    int Count() const { return m_count; }
    const std::wstring& Driver() const { return m_driver; }

private:
    CUninstallerController& m_app;
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
    explicit ComponentOwners(const CUninstallerController& app) {
        for (std::size_t i = 0; i < app.m_arrDriver.size(); ++i) {
            const CDriverData& driver = *app.m_arrDriver[i];
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

std::wstring MonitorFilePath(CUninstallerController& app, const std::wstring& monitor,
                             const std::wstring& windowsDir) {
    platform::RegValue value;
    if (windowsDir.empty() ||
        app.P().registry.QueryValue(
            platform::RootKey::LocalMachine,
            L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\" + monitor, L"Driver",
            kMonitorValueBuffer, value) != win::kSuccess ||
        value.AsString().empty())
        return L"";
    // One file name: a value naming another folder would delete a file that is not the monitor's.
    return path::FileInside(windowsDir + L"\\system32", value.AsString(), kPathBuffer);
}

// 0 removed or put off until after a restart, 1 the file stayed, 2 no path.
int RemoveMonitor(CUninstallerController& app, const std::wstring& name, const std::wstring& file) {
    if (file.empty())
        return 2;
    if (app.P().spooler.DeleteMonitor(name) != win::kSuccess) {
        PutOffMonitor(app, file, name);
        return 0;
    }
    return DeleteFileByRule(app.P().files, file) ? 0 : 1;
}

// 0 removed, 1 the spooler refused or the file stayed, 2 no path.
int RemovePrintProcessor(CUninstallerController& app, const std::wstring& name,
                         const std::wstring& file) {
    if (file.empty())
        return 2;
    if (app.P().spooler.DeletePrintProcessor(L"", name) != win::kSuccess)
        return 1;
    return DeleteFileByRule(app.P().files, file) ? 0 : 1;
}

// The spooler's own folders beside the model folders in its driver folder: the version folders
// ("3" holds every version-3 driver's files) and the package cache.
bool IsSpoolerFolder(const std::wstring& name) {
    return text::EqualsNoCase(name, L"PCC") ||
           (!name.empty() && std::all_of(name.begin(), name.end(),
                                         [](wchar_t c) { return c >= L'0' && c <= L'9'; }));
}

// The folders every path of the pass starts from.
struct Places {
    std::wstring commonData;  // empty when Windows does not tell it
    std::wstring windowsDir;
    std::wstring makerFolder;  // [Common] OEMFOLDERNAME, appended as written
};

void RemoveDriverLeftovers(CUninstallerController& app, std::size_t index, const Places& places,
                           const ComponentOwners& owners, FailureEntries& failures, int& flags) {
    CDriverData& driver = *app.m_arrDriver[index];
    const std::wstring& commonData = places.commonData;
    const std::wstring& windowsDir = places.windowsDir;
    const std::wstring& folderName = places.makerFolder;
    if (!driver.FamilyCode().empty() && !commonData.empty()) {
        const std::wstring& code = driver.FamilyCode();
        for (const std::wstring& candidate :
             {path::FolderInside(commonData + folderName + L"\\Drv", code, kPathBuffer),
              path::FolderInside(commonData, code, kPathBuffer),
              path::FolderInside(commonData + folderName, code, kPathBuffer)}) {
            driver.m_strDataFolder = candidate;
            if (candidate.empty())
                break;
            const int result = RemoveFolder(app, driver.m_strDataFolder);
            if (result == 3)
                continue;
            if (result == 1) {
                flags |= kDataFolderStayed;
                failures.Add(driver.m_strDataFolder);
            }
            break;
        }
    }

    const Components wanted = owners.For(driver, index);
    if (wanted.monitor) {
        driver.m_strMonitorPath = MonitorFilePath(app, driver.MonitorName(), windowsDir);
        if (RemoveMonitor(app, driver.MonitorName(), driver.m_strMonitorPath) != 0) {
            flags |= kMonitorStayed;
            failures.Add(driver.m_strMonitorPath);
        }
    }
    if (wanted.printProcessor) {
        const std::wstring& name = *driver.PrintProcessor();
        const std::wstring prtprocs = windowsDir + L"\\system32\\spool\\prtprocs\\";
        driver.m_strX64PrintProcessorPath =
            windowsDir.empty() ? L""
                               : path::FileInside(prtprocs + L"x64", name, kPathBuffer, L".DLL");
        driver.m_strX86PrintProcessorPath =
            windowsDir.empty() ? L""
                               : path::FileInside(prtprocs + L"w32x86", name, kPathBuffer, L".DLL");
        if (RemovePrintProcessor(app, name, driver.m_strX64PrintProcessorPath) != 0) {
            flags |= kPrintProcessorStayed;
            failures.Add(driver.m_strX64PrintProcessorPath);
        } else {
            // The 32-bit twin goes along; what becomes of it is not recorded.
            app.P().spooler.DeletePrintProcessor(platform::kEnvironmentX86, name);
            DeleteFileByRule(app.P().files, driver.m_strX86PrintProcessorPath);
        }
    }
    if (wanted.spoolFolder) {
        driver.m_strDriverFolder = SpoolFolderFor(windowsDir, driver.HardwareId());
        if (RemoveFolder(app, driver.m_strDriverFolder) == 1) {
            flags |= kSpoolFolderStayed;
            failures.Add(driver.m_strDriverFolder);
        }
    }
}

}  // namespace

bool DeleteFileByRule(platform::FileSystem& files, const std::wstring& path) {
    platform::WinError error = files.DeleteFile(path);
    if (error == win::kAccessDenied) {
        files.SetAttributes(path, platform::kFileAttributeNormal);
        // Removed only when this second attempt succeeds.
        error = files.DeleteFile(path);
    }
    return error == win::kSuccess || error == win::kFileNotFound;
}

int RemoveFolder(CUninstallerController& app, const std::wstring& folder) {
    if (folder.empty() || !app.P().files.PathIsDirectory(folder))
        return 3;
    return RemoveTree(app, folder) ? 0 : 1;
}

std::wstring SpoolFolderFor(const std::wstring& windowsDir, const std::wstring& hardwareId) {
    const auto slash = hardwareId.find(L'\\');
    if (windowsDir.empty() || slash == std::wstring::npos)
        return L"";
    std::wstring tail = hardwareId.substr(slash + 1);
    for (wchar_t& c : tail)
        c = c == L'-' ? L'_' : c;
    // "USBPRINT\", "USBPRINT\.." or "USBPRINT\3" would name the spooler's driver folder itself,
    // a folder above it or one of its own, with every other driver's files in them.
    if (IsSpoolerFolder(tail.substr(0, tail.find(L'\\'))))
        return L"";
    return path::FolderInside(windowsDir + L"\\system32\\spool\\drivers\\x64", tail, kPathBuffer);
}

int CleanupPass(CUninstallerController& app) {
    int flags = 0;
    Places places;
    if (app.P().system.CommonAppDataFolder(places.commonData) != win::kSuccess)
        places.commonData.clear();
    places.windowsDir = app.P().system.WindowsDirectory();
    places.makerFolder =
        app.Config().Read(L"Common", L"OEMFOLDERNAME", PackageConfig::kCommonBuffer);
    app.m_strSystemDir = places.windowsDir.empty() ? L"" : places.windowsDir + L"\\system32\\";

    // Shared-file failures are logged under the first driver that has failures of its own, or
    // else the first driver processed.
    std::optional<FailureEntries> reference;
    const ComponentOwners owners(app);
    for (std::size_t i = 0; i < app.m_arrDriver.size(); ++i) {
        CDriverData& driver = *app.m_arrDriver[i];
        if (!driver.Selected() || driver.PrinterCount() != 0)
            continue;
        FailureEntries failures(app, driver.DriverName());
        int own = 0;
        RemoveDriverLeftovers(app, i, places, owners, failures, own);
        flags |= own;
        // A driver's result speaks of its own leftovers, not of an earlier driver's.
        const bool failed = !driver.DeleteOK() || own != 0;
        app.m_mapPrinterResult[kDriverKey + driver.DriverName()] = failed ? L"1" : L"0";
        if (!reference || (reference->Count() == 0 && failures.Count() > 0))
            reference.emplace(failures);
    }

    if (app.m_nDriversToDelete == static_cast<int>(app.m_arrDriver.size()) &&
        !app.m_strSystemDir.empty()) {
        bool stayed[2];
        for (int f = 0; f < 2; ++f)
            stayed[f] = !DeleteFileByRule(app.P().files, app.m_strSystemDir + kSharedFiles[f]);
        if (stayed[0] || stayed[1]) {
            flags |= kSharedFileStayed;
            if (reference) {
                app.m_mapPrinterResult[kDriverKey + reference->Driver()] = L"1";
                for (int f = 0; f < 2; ++f) {
                    if (stayed[f])
                        reference->Add(app.m_strSystemDir + kSharedFiles[f]);
                }
            }
        }
    }
    return flags;
}

}  // namespace norvane
