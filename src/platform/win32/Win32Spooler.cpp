#include "platform/win32/Win32Spooler.h"

#include "platform/win32/LastError.h"
#include "platform/win32/SpoolerInfo.h"
#include "platform/win32/Win32Printer.h"
#include "support/Text.h"

namespace norvane::win32 {
namespace {

using platform::WinError;

// The enumerations ask for twice the size the first call reports, as the program always has:
// the list may grow between the two calls.
constexpr DWORD kEnumerationFactor = 2;

// Runs an enumeration that fills `count` structures of type Info and converts each of them.
template <typename Info, typename Item, typename Convert>
WinError Enumerate(const std::function<BOOL(BYTE*, DWORD, DWORD*, DWORD*)>& call, Convert convert,
                   std::vector<Item>& items) {
    items.clear();
    SpoolerBuffer buffer;
    DWORD count = 0;
    const WinError error = CallSized(
        [&](BYTE* data, DWORD size, DWORD* needed) { return call(data, size, needed, &count); },
        kEnumerationFactor, buffer);
    if (error)
        return error;
    const Info* infos = buffer.As<Info>();
    for (DWORD i = 0; infos && i < count; ++i)
        items.push_back(convert(infos[i]));
    return platform::win::kSuccess;
}

}  // namespace

WinError Win32Spooler::EnumDrivers(const std::wstring& environment,
                                   std::vector<platform::DriverInfo6>& drivers) {
    return Enumerate<DRIVER_INFO_6W>(
        [&](BYTE* data, DWORD size, DWORD* needed, DWORD* count) {
            return EnumPrinterDriversW(nullptr, OptionalText(environment), 6, data, size, needed,
                                       count);
        },
        [](const DRIVER_INFO_6W& info) { return ConvertDriver(info); }, drivers);
}

WinError Win32Spooler::EnumPrinters(std::uint32_t flags,
                                    std::vector<platform::PrinterInfo2>& printers) {
    return Enumerate<PRINTER_INFO_2W>(
        [&](BYTE* data, DWORD size, DWORD* needed, DWORD* count) {
            return EnumPrintersW(flags, nullptr, 2, data, size, needed, count);
        },
        ConvertPrinter, printers);
}

WinError Win32Spooler::OpenPrinter(const std::wstring& name, std::uint32_t access,
                                   std::unique_ptr<platform::Printer>& printer) {
    printer.reset();
    // No data type and no DEVMODE: only the access is asked for.
    PRINTER_DEFAULTSW defaults{nullptr, nullptr, access};
    UniquePrinter handle;
    if (!OpenPrinterW(MutableText(name), handle.Put(), &defaults))
        return LastError();
    printer = std::make_unique<Win32Printer>(std::move(handle));
    return platform::win::kSuccess;
}

WinError Win32Spooler::DeletePrinterConnection(const std::wstring& name) {
    return ErrorOf(DeletePrinterConnectionW(MutableText(name)));
}

WinError Win32Spooler::AddPrinter(const platform::PrinterInfo2& info,
                                  std::unique_ptr<platform::Printer>& printer) {
    printer.reset();
    PRINTER_INFO_2W added{};
    added.pPrinterName = MutableText(info.printerName);
    added.pShareName = OptionalText(info.shareName);
    added.pPortName = MutableText(info.portName);
    added.pDriverName = MutableText(info.driverName);
    added.pPrintProcessor = MutableText(info.printProcessor);
    added.pDatatype = const_cast<wchar_t*>(L"RAW");
    added.Attributes = info.attributes;
    added.Priority = 1;
    UniquePrinter handle(AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&added)));
    if (!handle)
        return LastError();
    printer = std::make_unique<Win32Printer>(std::move(handle));
    return platform::win::kSuccess;
}

WinError Win32Spooler::GetDriverPrintProcessor(const std::wstring& environment,
                                               const std::wstring& driver,
                                               std::wstring& printProcessor) {
    printProcessor.clear();
    std::vector<DriverPrintProcessor> drivers;
    const WinError error = Enumerate<DRIVER_INFO_8W>(
        [&](BYTE* data, DWORD size, DWORD* needed, DWORD* count) {
            return EnumPrinterDriversW(nullptr, OptionalText(environment), 8, data, size, needed,
                                       count);
        },
        ConvertDriverPrintProcessor, drivers);
    if (error)
        return error;
    for (const auto& installed : drivers) {
        if (text::EqualsNoCase(installed.driver, driver)) {
            printProcessor = installed.printProcessor;
            return platform::win::kSuccess;
        }
    }
    return ERROR_UNKNOWN_PRINTER_DRIVER;
}

WinError Win32Spooler::DeletePrinterDriver(const std::wstring& environment,
                                           const std::wstring& name, std::uint32_t deleteFlags) {
    return ErrorOf(DeletePrinterDriverExW(nullptr, OptionalText(environment), MutableText(name),
                                          deleteFlags, 0));
}

WinError Win32Spooler::DeleteMonitor(const std::wstring& name) {
    return ErrorOf(DeleteMonitorW(nullptr, nullptr, MutableText(name)));
}

WinError Win32Spooler::DeletePrintProcessor(const std::wstring& environment,
                                            const std::wstring& name) {
    return ErrorOf(DeletePrintProcessorW(nullptr, OptionalText(environment), MutableText(name)));
}

WinError Win32Spooler::GetDefaultPrinter(std::wstring& name) {
    name.clear();
    // The first call learns the length in characters, terminator included; with no default
    // printer it fails with ERROR_FILE_NOT_FOUND instead.
    DWORD length = 0;
    if (GetDefaultPrinterW(nullptr, &length) || GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return LastError();
    std::vector<wchar_t> buffer(length);
    if (!GetDefaultPrinterW(buffer.data(), &length))
        return LastError();
    name = buffer.data();
    return platform::win::kSuccess;
}

WinError Win32Spooler::SetDefaultPrinter(const std::wstring& name) {
    return ErrorOf(SetDefaultPrinterW(OptionalText(name)));
}

}  // namespace norvane::win32
