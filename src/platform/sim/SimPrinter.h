// An open printer of the simulated spooler (the handle OpenPrinterW gives). A purge empties the
// printer's queued jobs (the spooler state's, machine.json "jobs" on a simulated machine). Delete
// removes the queue at once, unless a job is printing or another handle is open (machine.json
// "busyPrinters"): then the printer is pending deletion, which only a fresh start of the spooler
// ends. Later calls on the handle fail with ERROR_PRINTER_DELETED. A connection's queue belongs to
// its server: deleting it through a handle is refused with ERROR_ACCESS_DENIED
// (DeletePrinterConnection removes the connection). Every simulated driver takes a DEVMODE of its
// own layout (a DEVMODEW public part of 220 bytes, version 0x0401, followed by the private part its
// dmDriverExtra counts) as it is, and refuses any other.
#pragma once

#include "platform/Spooler.h"
#include "platform/sim/SimSpooler.h"

namespace norvane::sim {

class SimPrinter final : public platform::Printer {
public:
    SimPrinter(SimSpooler& spooler, SimSpooler::PrinterKey key)
        : m_spooler(spooler), m_key(std::move(key)), m_name(m_key.PrinterName()) {}

    platform::WinError Control(std::uint32_t command) override;
    platform::WinError Delete() override;
    platform::WinError DocumentProperties(std::vector<std::uint8_t>& devmode) override;
    platform::WinError GetDriver(const std::wstring& environment,
                                 platform::DriverInfo3& info) override;
    platform::WinError MergeDocumentProperties(const std::vector<std::uint8_t>& in,
                                               std::vector<std::uint8_t>& out) override;
    platform::WinError SetDefaultDevMode(const std::vector<std::uint8_t>& devmode) override;

private:
    SimSpooler& m_spooler;
    SimSpooler::PrinterKey m_key;
    std::wstring m_name;  // as the spooler spells it: a local printer's name, or "\\server\queue"
};

}  // namespace norvane::sim
