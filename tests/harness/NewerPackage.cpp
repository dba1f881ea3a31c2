#include "harness/NewerPackage.h"

#include <gtest/gtest.h>

#include "platform/sim/RegistryKeys.h"
#include "platform/sim/SimSpooler.h"

namespace norvane::testing {
namespace {

// A key's values, from one machine to another.
void CopyKey(platform::Platform& in, platform::Platform& out, const std::wstring& from,
             const std::wstring& to) {
    sim::KeyValues values;
    sim::ReadValues(in.registry, platform::RootKey::LocalMachine, from, values);
    (void)out.registry.CreateKey(platform::RootKey::LocalMachine, to, nullptr);
    for (const auto& [name, value] : values.values)
        (void)out.registry.SetValue(platform::RootKey::LocalMachine, to, name, value);
}

void CopyFile(platform::Platform& in, platform::Platform& out, const std::wstring& file) {
    std::vector<std::uint8_t> bytes;
    if (!file.empty() && in.files.ReadFile(file, bytes) == platform::win::kSuccess)
        (void)out.files.WriteFile(file, bytes, false);
}

}  // namespace

void InstallNewerPackage(TestMachine& machine, const std::filesystem::path& source,
                         const std::vector<std::pair<std::wstring, std::wstring>>& renamed) {
    TestMachine older;
    older.CopyFrom(source);
    auto from = older.Load();
    auto to = machine.Load();
    platform::Platform& in = from->Platform();
    platform::Platform& out = to->Platform();
    for (const wchar_t* environment : {platform::kEnvironmentX64, platform::kEnvironmentX86}) {
        const std::wstring drivers = std::wstring(sim::kPrintPath) + L"\\Environments\\" +
                                     environment + L"\\Drivers\\Version-3\\";
        std::vector<platform::DriverInfo6> installed;
        (void)in.spooler.EnumDrivers(environment, installed);
        for (const auto& [oldName, newName] : renamed) {
            sim::KeyValues values;
            if (sim::ReadValues(in.registry, platform::RootKey::LocalMachine, drivers + oldName,
                                values) != platform::win::kSuccess) {
                continue;
            }
            CopyKey(in, out, drivers + oldName, drivers + newName);
            // The package's print processor, which the removal of the older one took away.
            const std::wstring processor = values.String(L"Print Processor");
            const std::wstring processors = std::wstring(sim::kPrintPath) + L"\\Environments\\" +
                                            environment + L"\\Print Processors\\" + processor;
            sim::KeyValues processorKey;
            if (!processor.empty() &&
                sim::ReadValues(in.registry, platform::RootKey::LocalMachine, processors,
                                processorKey) == platform::win::kSuccess) {
                CopyKey(in, out, processors, processors);
                CopyFile(in, out,
                         in.system.WindowsDirectory() + L"\\System32\\spool\\prtprocs\\" +
                             (environment == std::wstring(platform::kEnvironmentX64) ? L"x64"
                                                                                     : L"w32x86") +
                             L"\\" + processorKey.String(L"Driver"));
            }
            for (const auto& driver : installed) {
                if (driver.name != oldName)
                    continue;
                std::vector<std::wstring> files = {driver.driverPath, driver.dataFile,
                                                   driver.configFile, driver.helpFile};
                files.insert(files.end(), driver.dependentFiles.begin(),
                             driver.dependentFiles.end());
                for (const auto& file : files)
                    CopyFile(in, out, file);
            }
        }
    }
    ASSERT_FALSE(to->Save());
}

}  // namespace norvane::testing
