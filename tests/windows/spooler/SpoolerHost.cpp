#include "SpoolerHost.h"

#include "platform/sim/SpoolerPaths.h"
#include "platform/win32/Handles.h"
#include "support/Text.h"

namespace norvane::test_spooler {
namespace {

// The text of an environment variable; empty when it is not set.
std::wstring Variable(const wchar_t* name) {
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0)
        return {};
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), size));
    return value;
}

// What the drivers of both environments can be told apart by without reading them: each
// environment's number of drivers and the time its drivers key last gained or lost one. A driver
// added or deleted, by this spooler or behind its back, moves it on; a driver's files changed in
// place do not, which only installing a driver does, and none is installed during a removal.
std::uint64_t DriversGeneration() {
    std::uint64_t generation = 0;
    for (const wchar_t* environment : {platform::kEnvironmentX64, platform::kEnvironmentX86}) {
        win32::UniqueKey key;
        DWORD subkeys = 0;
        FILETIME written{};
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, sim::DriversPath(environment).c_str(), 0,
                          KEY_READ | KEY_WOW64_64KEY, key.Put()) == ERROR_SUCCESS) {
            RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                             nullptr, nullptr, nullptr, nullptr, &written);
        }
        const std::uint64_t time =
            (static_cast<std::uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
        generation = (generation * 1000003) ^ time ^ (static_cast<std::uint64_t>(subkeys) << 40);
    }
    return generation;
}

std::wstring WindowsDirectory() {
    wchar_t folder[MAX_PATH] = {};
    GetWindowsDirectoryW(folder, MAX_PATH);
    return folder;
}

}  // namespace

SpoolerHost& SpoolerHost::Get() {
    static SpoolerHost host;
    return host;
}

SpoolerHost::SpoolerHost()
    : m_journalFile(Variable(L"NORVANE_SPOOLER_JOURNAL")),
      m_spooler(
          m_registry, m_files,
          {WindowsDirectory(), m_jobs, m_faults,
           [this](const std::wstring& entry) { Record(entry); }, nullptr, DriversGeneration}) {
    if (const std::wstring held = Variable(L"NORVANE_SPOOLER_HELD"); !held.empty())
        m_faults.drivers[held].heldUntilReboot = true;
}

void SpoolerHost::Record(const std::wstring& entry) {
    if (m_journalFile.empty())
        return;
    const std::string line = text::ToUtf8(entry) + "\n";
    m_files.WriteFile(m_journalFile, std::vector<std::uint8_t>(line.begin(), line.end()), true);
}

HANDLE SpoolerHost::Add(std::unique_ptr<platform::Printer> printer) {
    // Handles look like the spooler's own: small, distinct, never null, never reused.
    m_lastHandle += 4;
    const HANDLE handle = reinterpret_cast<HANDLE>(0x5000 + m_lastHandle);
    m_printers[handle] = std::move(printer);
    return handle;
}

platform::Printer* SpoolerHost::Find(HANDLE handle) {
    const auto it = m_printers.find(handle);
    return it == m_printers.end() ? nullptr : it->second.get();
}

bool SpoolerHost::Close(HANDLE handle) {
    return m_printers.erase(handle) == 1;
}

}  // namespace norvane::test_spooler
