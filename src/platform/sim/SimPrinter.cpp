#include "platform/sim/SimPrinter.h"

#include <algorithm>

#include "platform/sim/Journal.h"
#include "platform/sim/RegistryKeys.h"
#include "support/Text.h"

namespace norvane::sim {
namespace {

namespace win = platform::win;

// DEVMODEW offsets and values (wingdi.h).
constexpr std::size_t kDevModeSize = 220;
constexpr std::size_t kDeviceNameUnits = 32;
constexpr std::size_t kSpecVersionAt = 64, kSizeAt = 68, kDriverExtraAt = 70, kFieldsAt = 72,
                      kOrientationAt = 76, kPaperSizeAt = 78, kCopiesAt = 86;
constexpr std::uint16_t kSpecVersion = 0x0401;
constexpr std::uint32_t kFieldOrientation = 0x1, kFieldPaperSize = 0x2, kFieldCopies = 0x100;
constexpr std::uint16_t kPortrait = 1;  // DMORIENT_PORTRAIT
constexpr std::uint16_t kLetter = 1;    // DMPAPER_LETTER

void PutLittleEndian(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value,
                     std::size_t size) {
    for (std::size_t i = 0; i < size; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t GetLittleEndian(const std::vector<std::uint8_t>& bytes, std::size_t at,
                              std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i)
        value |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
    return value;
}

// Whether the simulated drivers know the DEVMODE's layout.
bool IsDriversDevMode(const std::vector<std::uint8_t>& devmode) {
    return devmode.size() >= kDevModeSize &&
           GetLittleEndian(devmode, kSpecVersionAt, 2) == kSpecVersion &&
           GetLittleEndian(devmode, kSizeAt, 2) == kDevModeSize &&
           devmode.size() == kDevModeSize + GetLittleEndian(devmode, kDriverExtraAt, 2);
}

// The DEVMODEW a driver gives when the printer has no saved one: 220 bytes of public part, no
// private part, the driver's name as device name, portrait Letter, one copy.
std::vector<std::uint8_t> DefaultDevMode(const std::wstring& driverName) {
    std::vector<std::uint8_t> devmode(kDevModeSize, 0);
    const auto name = text::ToUtf16Le(driverName);
    const std::size_t nameBytes = std::min(name.size(), (kDeviceNameUnits - 1) * 2);
    std::copy(name.begin(), name.begin() + static_cast<std::ptrdiff_t>(nameBytes), devmode.begin());
    PutLittleEndian(devmode, kSpecVersionAt, kSpecVersion, 2);
    PutLittleEndian(devmode, kSizeAt, kDevModeSize, 2);
    PutLittleEndian(devmode, kFieldsAt, kFieldOrientation | kFieldPaperSize | kFieldCopies, 4);
    PutLittleEndian(devmode, kOrientationAt, kPortrait, 2);
    PutLittleEndian(devmode, kPaperSizeAt, kLetter, 2);
    PutLittleEndian(devmode, kCopiesAt, 1, 2);
    return devmode;
}

}  // namespace

platform::WinError SimPrinter::Control(std::uint32_t command) {
    if (!m_spooler.Exists(m_key))
        return win::kPrinterDeleted;
    const auto counted = m_spooler.Call();
    const std::wstring call = L"SetPrinter " + Quoted(m_name);
    if (command != platform::kPrinterControlPurge) {
        return m_spooler.Journaled(call + L" command=" + text::Decimal(command),
                                   win::kCallNotImplemented, L"not simulated");
    }
    auto& jobs = m_spooler.m_state.jobs;
    const auto queued = jobs.find(m_name);
    const std::uint32_t purged = queued == jobs.end() ? 0 : queued->second;
    if (queued != jobs.end()) {
        jobs.erase(queued);
        m_spooler.Changed();
    }
    m_spooler.Record(call + L" PRINTER_CONTROL_PURGE (" + text::Decimal(purged) + L" jobs)");
    return win::kSuccess;
}

platform::WinError SimPrinter::Delete() {
    if (!m_spooler.Exists(m_key))
        return win::kPrinterDeleted;
    const auto counted = m_spooler.Call();
    const std::wstring call = L"DeletePrinter " + Quoted(m_name);
    const auto& faults = m_spooler.m_state.faults.printers;
    if (const auto fault = faults.find(m_name); fault != faults.end())
        return m_spooler.Journaled(call, fault->second, L"fault");
    if (m_key.connection)
        return m_spooler.Journaled(call, win::kAccessDenied, L"the queue is its server's");
    // Jobs that were not purged go with the queue.
    m_spooler.m_state.jobs.erase(m_name);
    const auto& busy = m_spooler.m_state.faults.busyPrinters;
    if (const auto it = busy.find(m_name); it != busy.end()) {
        m_spooler.MarkPendingDeletion(m_key);
        return m_spooler.Journaled(call, win::kSuccess,
                                   it->second == PrinterBusy::Printing
                                       ? L"pending deletion: a job is printing"
                                       : L"pending deletion: another handle is open");
    }
    m_spooler.RemovePrinter(m_key);
    return m_spooler.Journaled(call, win::kSuccess);
}

platform::WinError SimPrinter::DocumentProperties(std::vector<std::uint8_t>& devmode) {
    KeyValues key;
    if (ReadValues(m_spooler.m_registry, m_key.root, m_key.Path(), key) != win::kSuccess)
        return win::kPrinterDeleted;
    const platform::RegValue* saved = key.Find(L"Default DevMode");
    devmode = saved ? saved->data : DefaultDevMode(key.String(L"Printer Driver"));
    return win::kSuccess;
}

platform::WinError SimPrinter::MergeDocumentProperties(const std::vector<std::uint8_t>& in,
                                                       std::vector<std::uint8_t>& out) {
    out.clear();
    if (!m_spooler.Exists(m_key))
        return win::kPrinterDeleted;
    if (!IsDriversDevMode(in))
        return win::kInvalidParameter;
    out = in;
    return win::kSuccess;
}

platform::WinError SimPrinter::SetDefaultDevMode(const std::vector<std::uint8_t>& devmode) {
    if (!m_spooler.Exists(m_key))
        return win::kPrinterDeleted;
    const auto counted = m_spooler.Call();
    const std::wstring call = L"SetPrinter " + Quoted(m_name) + L" level 8 (" +
                              text::Decimal(static_cast<std::uint32_t>(devmode.size())) +
                              L" bytes)";
    if (!IsDriversDevMode(devmode))
        return m_spooler.Journaled(call, win::kInvalidParameter);
    platform::RegValue value;
    value.type = platform::RegType::Binary;
    value.data = devmode;
    (void)m_spooler.m_registry.SetValue(m_key.root, m_key.Path(), L"Default DevMode", value);
    return m_spooler.Journaled(call, win::kSuccess);
}

platform::WinError SimPrinter::GetDriver(const std::wstring& environment,
                                         platform::DriverInfo3& info) {
    KeyValues key;
    if (ReadValues(m_spooler.m_registry, m_key.root, m_key.Path(), key) != win::kSuccess)
        return win::kPrinterDeleted;
    platform::DriverInfo6 driver;
    if (const auto error = m_spooler.FindDriver(environment, key.String(L"Printer Driver"), driver))
        return error;
    info = driver;  // the DRIVER_INFO_3W part
    return win::kSuccess;
}

}  // namespace norvane::sim
