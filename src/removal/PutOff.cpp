#include "removal/PutOff.h"

#include "support/Text.h"
#include "support/WinPath.h"

namespace norvane {
namespace {

namespace win = platform::win;
using platform::RootKey;

constexpr std::uint32_t kValueBuffer = 4096;  // bytes
constexpr std::size_t kTextBuffer = 4096;     // characters
constexpr std::size_t kMonitorEntryBuffer = 2048;

const wchar_t* ValueName(PutOff kind) {
    switch (kind) {
        case PutOff::Monitors:
            return L"Norvane";
        case PutOff::PrintProcessors:
            return L"PrintProcessor";
        default:
            return L"DriversToBeDeleted";
    }
}

std::wstring DefaultValue(platform::Registry& registry, const std::wstring& key) {
    platform::RegValue value;
    if (registry.QueryValue(RootKey::LocalMachine, key, L"", kValueBuffer, value))
        return L"";
    return value.AsString();
}

wchar_t Separator(PutOff kind) {
    return kind == PutOff::Drivers ? L',' : L';';
}

// Makes the maker key and the program key when they are missing, marked as this program's, and
// appends the text to the kind's value.
void StoreValue(platform::Platform& platform, const Package& package, PutOff kind,
                const std::wstring& textValue) {
    platform::Registry& registry = platform.registry;
    for (const std::wstring* key : {&package.m_strOemRegPath, &package.m_strOemRegNorvanePath}) {
        if (key->empty() ||
            registry.OpenKey(RootKey::LocalMachine, *key, platform::RegAccess::AllAccess) == 0)
            continue;
        bool created = false;
        // Only a key this program made carries the marker: a key that exists but would not
        // open is not the program's to delete later.
        if (registry.CreateKey(RootKey::LocalMachine, *key, &created) == 0 && created) {
            (void)registry.SetValue(RootKey::LocalMachine, *key, L"",
                                    platform::RegValue::String(kTemporaryKeyMarker));
        }
    }
    if (package.m_strOemRegNorvanePath.empty())
        return;
    std::wstring combined;
    ReadPutOff(platform, package, kind, combined);
    if (!combined.empty() && combined.back() != Separator(kind))
        combined.push_back(Separator(kind));
    combined = text::BoundedList(combined + textValue, Separator(kind), kTextBuffer);
    (void)registry.SetValue(RootKey::LocalMachine, package.m_strOemRegNorvanePath, ValueName(kind),
                            platform::RegValue::String(combined));
}

void RegisterContinuation(platform::Platform& platform, RunResults& results) {
    platform::Registry& registry = platform.registry;
    // The path is quoted: unquoted, a path with spaces could start C:\Program.exe instead.
    const std::wstring command = L"\"" +
                                 text::Bounded(platform.system.ModuleFileName(), path::kMaxPath) +
                                 L"\" " + kRestartedMarker;
    if (registry.CreateKey(RootKey::LocalMachine, kRunOnceKey, nullptr) == win::kSuccess) {
        (void)registry.SetValue(RootKey::LocalMachine, kRunOnceKey, L"norvane",
                                platform::RegValue::String(command));
    }
    results.m_bRestartNeeded = 1;
}

void DeleteSubkeys(platform::Registry& registry, const std::wstring& key) {
    std::wstring name;
    while (registry.EnumKey(RootKey::LocalMachine, key, 0, name) == win::kSuccess) {
        const std::wstring child = key + L"\\" + name;
        if (registry.DeleteKey(RootKey::LocalMachine, child) == win::kSuccess)
            continue;
        DeleteSubkeys(registry, child);
        if (registry.DeleteKey(RootKey::LocalMachine, child) != win::kSuccess)
            return;  // it will not go: leave the rest rather than loop
    }
}

}  // namespace

void PutOffMonitor(platform::Platform& platform, const Package& package, RunResults& results,
                   const std::wstring& file, const std::wstring& name) {
    StoreValue(platform, package, PutOff::Monitors,
               text::BoundedList(name + L"-" + file + L";", L';', kMonitorEntryBuffer));
    RegisterContinuation(platform, results);
}

void PutOffPrintProcessor(platform::Platform& platform, const Package& package, RunResults& results,
                          const std::wstring& file, const std::wstring& name) {
    StoreValue(platform, package, PutOff::PrintProcessors,
               text::BoundedList(name + L"-" + file + L";", L';', kMonitorEntryBuffer));
    RegisterContinuation(platform, results);
}

void PutOffDrivers(platform::Platform& platform, const Package& package, RunResults& results) {
    StoreValue(platform, package, PutOff::Drivers, results.m_szDeleteAfterRestart);
    RegisterContinuation(platform, results);
}

// Read at the size the value has: the lists are written in characters, up to kTextBuffer of
// them, which is twice what a buffer of kValueBuffer bytes holds.
bool ReadPutOff(platform::Platform& platform, const Package& package, PutOff kind,
                std::wstring& list) {
    platform::RegValue value;
    if (package.m_strOemRegNorvanePath.empty() ||
        platform.registry.QueryValueOfAnySize(RootKey::LocalMachine, package.m_strOemRegNorvanePath,
                                              ValueName(kind), value) != win::kSuccess)
        return false;
    list = value.AsString();
    return true;
}

// The path is what follows the last "-" that starts an absolute path, so that a name may hold
// "-" itself.
std::vector<std::pair<std::wstring, std::wstring>> PutOffEntries(const std::wstring& list) {
    std::vector<std::pair<std::wstring, std::wstring>> entries;
    for (const auto& entry : text::Split(list, L';')) {
        std::size_t dash = std::wstring::npos;
        for (std::size_t at = entry.find(L'-'); at != std::wstring::npos;
             at = entry.find(L'-', at + 1)) {
            const std::wstring rest = entry.substr(at + 1);
            if ((rest.size() > 2 && rest[1] == L':') || rest.starts_with(L"\\\\"))
                dash = at;
        }
        if (dash != std::wstring::npos)
            entries.emplace_back(entry.substr(0, dash), entry.substr(dash + 1));
    }
    return entries;
}

// The configured keys themselves are deleted, never a fixed name, so a key the program did not
// make is never touched.
void ForgetPutOff(platform::Platform& platform, const Package& package) {
    platform::Registry& registry = platform.registry;
    const std::wstring& maker = package.m_strOemRegPath;
    const std::wstring& program = package.m_strOemRegNorvanePath;
    if (maker.empty() ||
        registry.OpenKey(RootKey::LocalMachine, maker, platform::RegAccess::AllAccess))
        return;
    if (text::EqualsNoCase(DefaultValue(registry, maker), kTemporaryKeyMarker)) {
        DeleteSubkeys(registry, maker);
        (void)registry.DeleteKey(RootKey::LocalMachine, maker);
    } else if (!program.empty() &&
               text::EqualsNoCase(DefaultValue(registry, program), kTemporaryKeyMarker)) {
        DeleteSubkeys(registry, program);
        (void)registry.DeleteKey(RootKey::LocalMachine, program);
    } else if (!program.empty()) {
        for (const PutOff kind : {PutOff::Monitors, PutOff::PrintProcessors, PutOff::Drivers})
            (void)registry.DeleteValue(RootKey::LocalMachine, program, ValueName(kind));
    }
}

}  // namespace norvane
