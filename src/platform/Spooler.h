// The print spooler, shaped after the winspool functions the program calls.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/WinError.h"

namespace norvane::platform {

inline constexpr wchar_t kEnvironmentX64[] = L"Windows x64";
inline constexpr wchar_t kEnvironmentX86[] = L"Windows NT x86";

// DRIVER_INFO_3W, the fields the capability check reads.
struct DriverInfo3 {
    std::wstring name;
    std::wstring environment;
    std::wstring driverPath;
    std::wstring dataFile;
    std::wstring configFile;
    std::wstring helpFile;
    std::vector<std::wstring> dependentFiles;
    std::wstring monitorName;
};

// DRIVER_INFO_6W, the fields the program reads: DRIVER_INFO_3W's and those it adds. Absent strings
// (null pointers) are nullopt where the program tells absent from empty.
struct DriverInfo6 : DriverInfo3 {
    std::wstring defaultDataType;
    std::wstring hardwareId;
    std::wstring manufacturer;
    std::optional<std::wstring> provider;
};

// PRINTER_INFO_2W, the fields the program reads.
struct PrinterInfo2 {
    std::wstring serverName;  // "\\\\server" for a connection, empty for a local printer
    std::wstring printerName;
    std::wstring shareName;
    std::wstring portName;
    std::wstring driverName;
    std::wstring printProcessor;
    std::uint32_t attributes = 0;
    std::uint32_t jobs = 0;
};

inline constexpr std::uint32_t kPrinterEnumLocal = 0x2;
inline constexpr std::uint32_t kPrinterEnumConnections = 0x4;
inline constexpr std::uint32_t kPrinterAccessUse = 0x8;
inline constexpr std::uint32_t kPrinterAllAccess = 0xF000C;
inline constexpr std::uint32_t kPrinterControlPurge = 3;
inline constexpr std::uint32_t kDeleteUnusedFiles = 0x1;  // DPD_DELETE_UNUSED_FILES
inline constexpr std::uint32_t kPrinterAttributeShared = 0x8;
inline constexpr std::uint32_t kPrinterAttributeLocal = 0x40;

// An open printer (OpenPrinterW); closing is the destructor's job (ClosePrinter).
class Printer {
public:
    virtual ~Printer() = default;
    // SetPrinterW with level 0 and a command, such as PRINTER_CONTROL_PURGE.
    [[nodiscard]] virtual WinError Control(std::uint32_t command) = 0;
    // DeletePrinter: the queue is marked for deletion and goes when the last handle closes.
    [[nodiscard]] virtual WinError Delete() = 0;
    // DocumentPropertiesW with DM_OUT_BUFFER: the printer's DEVMODE, public and private parts.
    [[nodiscard]] virtual WinError DocumentProperties(std::vector<std::uint8_t>& devmode) = 0;
    // GetPrinterDriverW, level 3, for the printer's driver in the given environment.
    [[nodiscard]] virtual WinError GetDriver(const std::wstring& environment,
                                             DriverInfo3& info) = 0;
    // DocumentPropertiesW with DM_IN_BUFFER | DM_OUT_BUFFER: the printer's driver reads `in`
    // (a whole DEVMODE the caller has checked for its own sizes) and answers with the DEVMODE it
    // makes of it; a driver that refuses it fails.
    [[nodiscard]] virtual WinError MergeDocumentProperties(const std::vector<std::uint8_t>& in,
                                                           std::vector<std::uint8_t>& out) = 0;
    // SetPrinterW level 8: the printer's default DEVMODE for every user.
    [[nodiscard]] virtual WinError SetDefaultDevMode(const std::vector<std::uint8_t>& devmode) = 0;
};

class Spooler {
public:
    virtual ~Spooler() = default;

    // EnumPrinterDriversW, level 6. An empty environment is the spooler's native one.
    [[nodiscard]] virtual WinError EnumDrivers(const std::wstring& environment,
                                               std::vector<DriverInfo6>& drivers) = 0;
    // EnumPrintersW, level 2, with PRINTER_ENUM_* flags.
    [[nodiscard]] virtual WinError EnumPrinters(std::uint32_t flags,
                                                std::vector<PrinterInfo2>& printers) = 0;
    [[nodiscard]] virtual WinError OpenPrinter(const std::wstring& name, std::uint32_t access,
                                               std::unique_ptr<Printer>& printer) = 0;
    [[nodiscard]] virtual WinError DeletePrinterConnection(const std::wstring& name) = 0;
    // AddPrinterW level 2 with the name, share name, port, driver, print processor and
    // attributes of `info` (data type RAW, no DEVMODE); the new printer comes open.
    [[nodiscard]] virtual WinError AddPrinter(const PrinterInfo2& info,
                                              std::unique_ptr<Printer>& printer) = 0;
    // The print processor a driver of an environment asks for (EnumPrinterDriversW level 8);
    // ERROR_UNKNOWN_PRINTER_DRIVER when the driver is not installed, and an empty name when it
    // names none.
    [[nodiscard]] virtual WinError GetDriverPrintProcessor(const std::wstring& environment,
                                                           const std::wstring& driver,
                                                           std::wstring& printProcessor) = 0;
    // DeletePrinterDriverExW with no server. An empty environment is the native one.
    [[nodiscard]] virtual WinError DeletePrinterDriver(const std::wstring& environment,
                                                       const std::wstring& name,
                                                       std::uint32_t deleteFlags) = 0;
    [[nodiscard]] virtual WinError DeleteMonitor(const std::wstring& name) = 0;
    [[nodiscard]] virtual WinError DeletePrintProcessor(const std::wstring& environment,
                                                        const std::wstring& name) = 0;
    // GetDefaultPrinterW: ERROR_FILE_NOT_FOUND when there is no default printer.
    [[nodiscard]] virtual WinError GetDefaultPrinter(std::wstring& name) = 0;
    // SetDefaultPrinterW: an empty name lets the spooler choose one when none is set.
    [[nodiscard]] virtual WinError SetDefaultPrinter(const std::wstring& name) = 0;
};

}  // namespace norvane::platform
