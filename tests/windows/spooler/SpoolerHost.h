// The test spooler inside the calling process: the simulated spooler over Windows' own registry
// and files, with no queued jobs, and the printers it has open by the handles their callers hold.
// Its journal lines go to the file the environment variable NORVANE_SPOOLER_JOURNAL names, one
// UTF-8 line each, when it is set. The one fault it knows is a driver held until a restart, named
// "<environment>|<driver>" by NORVANE_SPOOLER_HELD, as machine.json's faults name it. Callers hold
// Lock() around every use.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

#include "platform/sim/SimSpooler.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/WinApi.h"

namespace norvane::test_spooler {

class SpoolerHost {
public:
    // The one spooler of the process, made on first use.
    static SpoolerHost& Get();

    std::mutex& Lock() { return m_lock; }
    platform::Spooler& Spooler() { return m_spooler; }
    // A new handle for an open printer.
    HANDLE Add(std::unique_ptr<platform::Printer> printer);
    // The printer a handle stands for; null for a handle this spooler did not give.
    platform::Printer* Find(HANDLE handle);
    // Closes a handle; false for one this spooler did not give.
    bool Close(HANDLE handle);

private:
    SpoolerHost();
    void Record(const std::wstring& entry);

    std::mutex m_lock;
    win32::Win32Registry m_registry;
    win32::Win32FileSystem m_files;
    sim::JobCounts m_jobs;
    sim::MachineFaults m_faults;
    std::wstring m_journalFile;
    sim::SimSpooler m_spooler;
    std::map<HANDLE, std::unique_ptr<platform::Printer>> m_printers;
    std::uintptr_t m_lastHandle = 0;
};

}  // namespace norvane::test_spooler
