// The test spooler's answers on the removal cases' machine (tests/wine/machines/removal), read
// through Norvane's own Win32 spooler code, including the calls a removal does not make yet
// (a printer's driver), and winspool's buffer protocol at its edges, which Norvane's calls do not
// reach (a buffer one byte short). Run under Wine beside the test winspool.drv; prints each failed
// check and "N passed, M failed", and exits with 1 when a check failed.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Spooler.h"
#include "platform/win32/WinApi.h"

namespace {

namespace platform = norvane::platform;

int g_passed = 0, g_failed = 0;

void Check(bool ok, const char* what) {
    if (ok) {
        ++g_passed;
    } else {
        ++g_failed;
        std::printf("FAIL %s\n", what);
    }
}

template <typename Item, typename Name>
std::vector<std::wstring> Names(const std::vector<Item>& items, Name name) {
    std::vector<std::wstring> names;
    for (const auto& item : items)
        names.push_back(item.*name);
    return names;
}

const wchar_t kX64Folder[] = L"C:\\windows\\system32\\spool\\DRIVERS\\x64\\3\\";

void DriversAndPrinters(platform::Spooler& spooler) {
    std::vector<platform::DriverInfo6> drivers;
    Check(spooler.EnumDrivers(L"", drivers) == 0, "EnumPrinterDriversW succeeds");
    Check(Names(drivers, &platform::DriverInfo6::name) ==
              std::vector<std::wstring>{L"Model A", L"Model A PS", L"Model B", L"PDF Writer"},
          "the x64 drivers in the registry's order");
    if (drivers.size() == 4) {
        const auto& modelA = drivers[0];
        Check(modelA.environment == platform::kEnvironmentX64, "a driver's environment");
        Check(modelA.dependentFiles ==
                  std::vector<std::wstring>{std::wstring(kX64Folder) + L"CVMA.DLL",
                                            std::wstring(kX64Folder) + L"CVMA.GPD",
                                            std::wstring(kX64Folder) + L"SHARED.DAT"},
              "a driver's dependent files, by full path");
        Check(modelA.hardwareId == L"USBPRINT\\Corvida-Model_A", "a driver's hardware ID");
        Check(drivers[3].provider == std::optional<std::wstring>(L"Microsoft"),
              "a driver's provider");
    }
    Check(spooler.EnumDrivers(platform::kEnvironmentX86, drivers) == 0 &&
              Names(drivers, &platform::DriverInfo6::name) ==
                  std::vector<std::wstring>{L"Model A", L"Model A PS"},
          "the x86 twins");

    std::vector<platform::PrinterInfo2> printers;
    Check(spooler.EnumPrinters(platform::kPrinterEnumLocal | platform::kPrinterEnumConnections,
                               printers) == 0 &&
              Names(printers, &platform::PrinterInfo2::printerName) ==
                  std::vector<std::wstring>{L"Annex", L"Lobby", L"Office", L"PDF", L"PS Room",
                                            L"\\\\srv\\Hall"},
          "the printers and then the connections");
    Check(spooler.EnumPrinters(platform::kPrinterEnumConnections, printers) == 0 &&
              printers.size() == 1 && printers[0].portName == L"Ne00:",
          "the connections alone, with their values");
    std::wstring name;
    Check(spooler.GetDefaultPrinter(name) == 0 && name == L"Office", "the default printer");
}

void OpenPrinters(platform::Spooler& spooler) {
    std::unique_ptr<platform::Printer> office, annex, none;
    Check(spooler.OpenPrinter(L"office", platform::kPrinterAllAccess, office) == 0,
          "a printer opens by its name in any case");
    Check(spooler.OpenPrinter(L"Nope", platform::kPrinterAllAccess, none) ==
              ERROR_INVALID_PRINTER_NAME,
          "an unknown printer does not open");
    if (!office || spooler.OpenPrinter(L"Annex", platform::kPrinterAllAccess, annex) != 0)
        return;
    platform::DriverInfo3 driver;
    Check(office->GetDriver(L"", driver) == 0 && driver.name == L"Model A" &&
              driver.configFile == std::wstring(kX64Folder) + L"CVMA_UI.DLL" &&
              driver.monitorName == L"Model A LangMon",
          "GetPrinterDriverW gives the printer's driver");
    Check(office->GetDriver(platform::kEnvironmentX86, driver) == 0 &&
              driver.environment == platform::kEnvironmentX86,
          "GetPrinterDriverW gives the driver's x86 twin");
    Check(annex->GetDriver(platform::kEnvironmentX86, driver) == ERROR_UNKNOWN_PRINTER_DRIVER,
          "GetPrinterDriverW without a twin fails with 1797");
    std::vector<std::uint8_t> devmode;
    Check(office->DocumentProperties(devmode) == 0 && devmode.size() == 220 && devmode[0] == 'O' &&
              devmode[10] == 'e',
          "DocumentPropertiesW gives the saved DEVMODE");
    Check(annex->DocumentProperties(devmode) == 0 && devmode.size() == 220,
          "DocumentPropertiesW makes a DEVMODE when none is saved");
}

// The call the spooler finds a key's stored spelling with, where it looks up a printer, driver,
// monitor or print processor by a name in any case.
void KeyNames() {
    norvane::win32::Win32Registry registry;
    const std::wstring printers = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\";
    std::wstring name;
    Check(registry.KeyName(platform::RootKey::LocalMachine, printers + L"PS ROOM", name) == 0 &&
              name == L"PS Room",
          "NtQueryKey gives a key's name as stored");
    Check(registry.KeyName(platform::RootKey::LocalMachine, printers + L"Nope", name) ==
              ERROR_FILE_NOT_FOUND,
          "a missing key has no name");
}

// The raw calls with a buffer one byte short of what they asked for.
void BufferEdges() {
    DWORD needed = 0, count = 0;
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    Check(!EnumPrintersW(flags, nullptr, 2, nullptr, 0, &needed, &count) &&
              GetLastError() == ERROR_INSUFFICIENT_BUFFER && needed > 6 * sizeof(PRINTER_INFO_2W),
          "EnumPrintersW without a buffer tells the size");
    std::vector<std::uint64_t> buffer(needed / 8 + 1);
    BYTE* data = reinterpret_cast<BYTE*>(buffer.data());
    DWORD again = 0;
    Check(!EnumPrintersW(flags, nullptr, 2, data, needed - 1, &again, &count) &&
              GetLastError() == ERROR_INSUFFICIENT_BUFFER && again == needed && count == 0,
          "EnumPrintersW with a byte too few fails and tells the same size");
    Check(EnumPrintersW(flags, nullptr, 2, data, needed, &again, &count) && count == 6,
          "EnumPrintersW with the size it told succeeds");
    Check(!EnumPrintersW(flags, nullptr, 1, data, needed, &again, &count) &&
              GetLastError() == ERROR_INVALID_LEVEL,
          "EnumPrintersW refuses a level it does not answer");

    HANDLE printer = nullptr;
    wchar_t office[] = L"Office";
    if (!OpenPrinterW(office, &printer, nullptr)) {
        Check(false, "OpenPrinterW opens a printer");
        return;
    }
    Check(!GetPrinterDriverW(printer, nullptr, 3, nullptr, 0, &needed) &&
              GetLastError() == ERROR_INSUFFICIENT_BUFFER,
          "GetPrinterDriverW without a buffer tells the size");
    buffer.assign(needed / 8 + 1, 0);
    Check(!GetPrinterDriverW(printer, nullptr, 3, data, needed - 1, &again) &&
              GetLastError() == ERROR_INSUFFICIENT_BUFFER && again == needed,
          "GetPrinterDriverW with a byte too few fails and tells the same size");
    Check(DocumentPropertiesW(nullptr, printer, nullptr, nullptr, nullptr, 0) == 220,
          "DocumentPropertiesW with no mode gives the DEVMODE's size");
    Check(ClosePrinter(printer) && !ClosePrinter(printer) && GetLastError() == ERROR_INVALID_HANDLE,
          "a printer handle closes once");

    wchar_t name[6];
    DWORD size = 6;
    Check(!GetDefaultPrinterW(name, &size) && GetLastError() == ERROR_INSUFFICIENT_BUFFER &&
              size == 7,
          "GetDefaultPrinterW with a character too few tells the size with the terminator");
}

}  // namespace

int main() {
    norvane::win32::Win32Spooler spooler;
    DriversAndPrinters(spooler);
    OpenPrinters(spooler);
    KeyNames();
    BufferEdges();
    std::printf("%d passed, %d failed\n", g_passed, g_failed);
    return g_failed == 0 ? 0 : 1;
}
