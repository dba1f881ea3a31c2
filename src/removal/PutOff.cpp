#include "removal/PutOff.h"

#include <algorithm>

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

bool HoldsNothing(platform::Registry& registry, const std::wstring& key) {
    std::wstring name;
    platform::RegValue value;
    return registry.EnumKey(RootKey::LocalMachine, key, 0, name) == win::kNoMoreItems &&
           registry.EnumValue(RootKey::LocalMachine, key, 0, name, value) == win::kNoMoreItems;
}

// A key this program made: it carries the marker, or it holds nothing at all, which is what a
// run cut off between making the key and marking it leaves.
bool MadeHere(platform::Registry& registry, const std::wstring& key) {
    return text::EqualsNoCase(DefaultValue(registry, key), kTemporaryKeyMarker) ||
           HoldsNothing(registry, key);
}

wchar_t Separator(PutOff kind) {
    return kind == PutOff::Drivers ? L',' : L';';
}

// Appends the text to the kind's value, the keys made first when they are missing.
void StoreValue(platform::Platform& platform, const Package& package, PutOff kind,
                const std::wstring& textValue) {
    if (!MakeProgramKey(platform, package))
        return;
    std::wstring combined;
    ReadPutOff(platform, package, kind, combined);
    const wchar_t separator = Separator(kind);
    if (!combined.empty() && combined.back() != separator)
        combined.push_back(separator);
    // An entry already there is not added again: a second run before the restart puts off the
    // same driver again.
    const auto present = text::Split(combined, separator);
    for (const auto& entry : text::Split(textValue, separator)) {
        if (!entry.empty() && std::none_of(present.begin(), present.end(), [&](const auto& had) {
                return text::EqualsNoCase(had, entry);
            }))
            combined += entry + separator;
    }
    combined = text::BoundedList(combined, separator, kTextBuffer);
    (void)platform.registry.SetValue(RootKey::LocalMachine, package.m_strOemRegNorvanePath,
                                     ValueName(kind), platform::RegValue::String(combined));
}

void RegisterContinuation(platform::Platform& platform, RunResults& results) {
    RegisterRunOnce(platform);
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

bool MakeKey(platform::Registry& registry, const std::wstring& key) {
    if (key.empty())
        return false;
    if (registry.OpenKey(RootKey::LocalMachine, key, platform::RegAccess::AllAccess) == 0 &&
        !HoldsNothing(registry, key))
        return true;
    bool created = false;
    // Only a key this program made carries the marker: a key that exists but would not open is
    // not the program's to delete later. An empty one is what a run cut off after making it left.
    if (registry.CreateKey(RootKey::LocalMachine, key, &created) != win::kSuccess)
        return false;
    if (created || HoldsNothing(registry, key)) {
        (void)registry.SetValue(RootKey::LocalMachine, key, L"",
                                platform::RegValue::String(kTemporaryKeyMarker));
    }
    return true;
}

bool MakeProgramKey(platform::Platform& platform, const Package& package) {
    (void)MakeKey(platform.registry, package.m_strOemRegPath);
    return MakeKey(platform.registry, package.m_strOemRegNorvanePath);
}

void RegisterRunOnce(platform::Platform& platform) {
    platform::Registry& registry = platform.registry;
    // The path is quoted: unquoted, a path with spaces could start C:\Program.exe instead.
    const std::wstring command = L"\"" +
                                 text::Bounded(platform.system.ModuleFileName(), path::kMaxPath) +
                                 L"\" " + kRestartedMarker;
    if (registry.CreateKey(RootKey::LocalMachine, kRunOnceKey, nullptr) == win::kSuccess) {
        (void)registry.SetValue(RootKey::LocalMachine, kRunOnceKey, kRunOnceValue,
                                platform::RegValue::String(command));
    }
}

bool AnyPutOff(platform::Platform& platform, const Package& package) {
    std::wstring list;
    for (const PutOff kind : {PutOff::Monitors, PutOff::PrintProcessors, PutOff::Drivers}) {
        if (ReadPutOff(platform, package, kind, list))
            return true;
    }
    return false;
}

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
    platform::RegValue workList;
    const bool listed = registry.QueryValueOfAnySize(RootKey::LocalMachine, maker, kWorkListValue,
                                                     workList) == win::kSuccess;
    if (!listed && MadeHere(registry, maker)) {
        DeleteSubkeys(registry, maker);
        (void)registry.DeleteKey(RootKey::LocalMachine, maker);
    } else if (!listed && !program.empty() && MadeHere(registry, program)) {
        DeleteSubkeys(registry, program);
        (void)registry.DeleteKey(RootKey::LocalMachine, program);
    } else if (!program.empty()) {
        // A work list still there removes the keys at its own end.
        for (const PutOff kind : {PutOff::Monitors, PutOff::PrintProcessors, PutOff::Drivers})
            (void)registry.DeleteValue(RootKey::LocalMachine, program, ValueName(kind));
    }
}

}  // namespace norvane
