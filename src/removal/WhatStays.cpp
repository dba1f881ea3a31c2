#include "removal/WhatStays.h"

#include "inventory/Records.h"
#include "support/Text.h"
#include "support/WinPath.h"

namespace norvane {
namespace {

namespace win = platform::win;
using platform::RootKey;

constexpr wchar_t kPrintKey[] = L"SYSTEM\\CurrentControlSet\\Control\\Print";
constexpr std::uint32_t kPathValueBuffer = 520;  // bytes: a file name or path

struct Environment {
    const wchar_t* name;
    const wchar_t* driverFolder;    // below spool\drivers
    const wchar_t* prtprocsFolder;  // below spool\prtprocs
};
constexpr Environment kEnvironments[] = {
    {platform::kEnvironmentX64, L"x64", L"x64"},
    {platform::kEnvironmentX86, L"W32X86", L"w32x86"},
};

// A file the machine names: a full path as it stands, a bare name inside `folder`.
std::wstring Named(const std::wstring& folder, const std::wstring& file) {
    if (file.empty())
        return L"";
    const bool absolute = (file.size() > 2 && file[1] == L':') || file.starts_with(L"\\\\");
    return absolute ? file : path::Join(folder, file);
}

template <typename Each>
void ForEachSubkey(platform::Registry& registry, const std::wstring& key, Each each) {
    std::wstring name;
    for (std::uint32_t i = 0;
         registry.EnumKey(RootKey::LocalMachine, key, i, name) == win::kSuccess; ++i)
        each(name);
}

std::wstring DriverValue(platform::Registry& registry, const std::wstring& key) {
    platform::RegValue value;
    if (registry.QueryValue(RootKey::LocalMachine, key, L"Driver", kPathValueBuffer, value) !=
        win::kSuccess)
        return L"";
    return value.AsString();
}

void AddDrivers(platform::Platform& platform, const Places& places, const Removing& removing,
                KeptThings& kept) {
    for (const Environment& environment : kEnvironments) {
        std::vector<platform::DriverInfo6> drivers;
        (void)platform.spooler.EnumDrivers(environment.name, drivers);
        const std::wstring folder =
            places.windowsDir + L"\\System32\\spool\\drivers\\" + environment.driverFolder + L"\\3";
        for (const auto& info : drivers) {
            if (removing.Has(removing.drivers, info.name))
                continue;
            for (const std::wstring* file :
                 {&info.driverPath, &info.dataFile, &info.configFile, &info.helpFile})
                kept.files.push_back(Named(folder, *file));
            for (const auto& file : info.dependentFiles)
                kept.files.push_back(Named(folder, file));
            if (!info.monitorName.empty())
                kept.monitors.push_back(info.monitorName);
            std::wstring printProcessor;
            if (platform.spooler.GetDriverPrintProcessor(environment.name, info.name,
                                                         printProcessor) == win::kSuccess &&
                !printProcessor.empty())
                kept.printProcessors.push_back(printProcessor);
            // The folders a removal of this driver would take are this driver's.
            const CDriverData driver(info.name, info.dependentFiles, info.monitorName,
                                     info.hardwareId, info.configFile);
            for (const auto& candidate : DataFolderCandidates(places, driver.FamilyCode())) {
                if (!candidate.empty())
                    kept.folders.push_back(candidate);
            }
            if (std::wstring spool = SpoolFolderFor(places.windowsDir, info.hardwareId);
                !spool.empty())
                kept.folders.push_back(std::move(spool));
        }
    }
}

}  // namespace

std::wstring Removing::Key(const std::wstring& name) {
    return text::LowerAscii(name);
}

KeptThings WhatStays(platform::Platform& platform, const Places& places, const Removing& removing) {
    KeptThings kept{places.windowsDir, places.commonData, places.makerFolder, {}, {}, {}, {}};
    AddDrivers(platform, places, removing, kept);

    std::vector<platform::PrinterInfo2> printers;
    (void)platform.spooler.EnumPrinters(platform::kPrinterEnumLocal, printers);
    for (const auto& printer : printers) {
        if (!removing.Has(removing.printers, printer.printerName) &&
            !printer.printProcessor.empty())
            kept.printProcessors.push_back(printer.printProcessor);
    }

    platform::Registry& registry = platform.registry;
    const std::wstring monitors = std::wstring(kPrintKey) + L"\\Monitors";
    ForEachSubkey(registry, monitors, [&](const std::wstring& name) {
        if (removing.Has(removing.monitors, name))
            return;
        kept.monitors.push_back(name);
        kept.files.push_back(Named(places.windowsDir + L"\\System32",
                                   DriverValue(registry, monitors + L"\\" + name)));
    });
    for (const Environment& environment : kEnvironments) {
        const std::wstring processors = std::wstring(kPrintKey) + L"\\Environments\\" +
                                        environment.name + L"\\Print Processors";
        const std::wstring folder =
            places.windowsDir + L"\\System32\\spool\\prtprocs\\" + environment.prtprocsFolder;
        ForEachSubkey(registry, processors, [&](const std::wstring& name) {
            if (removing.Has(removing.printProcessors, name))
                return;
            kept.printProcessors.push_back(name);
            kept.files.push_back(Named(folder, DriverValue(registry, processors + L"\\" + name)));
        });
    }
    std::erase(kept.files, L"");
    return kept;
}

}  // namespace norvane
