// The winspool functions Norvane.exe and NorvaneRestore.exe import, each the simulated spooler's
// call behind Windows' calling conventions: BOOL results with the error in SetLastError, the buffer
// protocol of the INFO structures, handles for open printers. Only what the program asks for is
// answered: the local spooler (no server names), levels 2 (printers), 6 and 8 (drivers) and 3 (a
// printer's driver); a new printer by level 2, a printer's DEVMODE set by level 8.
#include <cstring>
#include <string>
#include <vector>

#include "InfoPacker.h"
#include "SpoolerHost.h"

namespace {

using norvane::platform::WinError;
using norvane::test_spooler::InfoPacker;
using norvane::test_spooler::ReturnInfos;
using norvane::test_spooler::SpoolerHost;

// The spooler with its lock held for the length of one call: the program may call from its
// worker thread while its window thread runs.
struct Call {
    SpoolerHost& host = SpoolerHost::Get();
    std::lock_guard<std::mutex> hold{host.Lock()};

    norvane::platform::Spooler& Spooler() { return host.Spooler(); }
};

std::wstring Text(const wchar_t* text) {
    return text ? std::wstring(text) : std::wstring();
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

BOOL Result(WinError error) {
    return error == ERROR_SUCCESS ? TRUE : Fail(error);
}

// The spooler answers for this machine only; a server name is another machine's spooler.
bool IsLocal(const wchar_t* server) {
    return !server || !*server;
}

// The fields DRIVER_INFO_6W shares with DRIVER_INFO_3W, which it extends: all of level 3.
template <typename Driver, typename Info>
void FillDriver(InfoPacker& packer, const Driver& driver, Info& info) {
    info.cVersion = 3;  // every driver is kept under Version-3
    info.pName = packer.Text(driver.name);
    info.pEnvironment = packer.Text(driver.environment);
    info.pDriverPath = packer.Text(driver.driverPath);
    info.pDataFile = packer.Text(driver.dataFile);
    info.pConfigFile = packer.Text(driver.configFile);
    info.pHelpFile = packer.Text(driver.helpFile);
    info.pDependentFiles = packer.List(driver.dependentFiles);
    info.pMonitorName = packer.Text(driver.monitorName);
}

void FillDriver6(InfoPacker& packer, const norvane::platform::DriverInfo6& driver,
                 DRIVER_INFO_6W& info) {
    FillDriver(packer, driver, info);
    info.pDefaultDataType = packer.Text(driver.defaultDataType);
    info.pszMfgName = packer.Text(driver.manufacturer);
    info.pszHardwareID = packer.Text(driver.hardwareId);
    info.pszProvider = packer.Text(driver.provider);
}

// A driver with the print processor it asks for, as level 8 lists it.
struct Driver8 {
    norvane::platform::DriverInfo6 driver;
    std::wstring printProcessor;
};

void FillDriver8(InfoPacker& packer, const Driver8& item, DRIVER_INFO_8W& info) {
    FillDriver(packer, item.driver, info);
    info.pDefaultDataType = packer.Text(item.driver.defaultDataType);
    info.pszMfgName = packer.Text(item.driver.manufacturer);
    info.pszHardwareID = packer.Text(item.driver.hardwareId);
    info.pszProvider = packer.Text(item.driver.provider);
    info.pszPrintProcessor = packer.Text(item.printProcessor);
}

// The bytes of a caller's DEVMODE: its public part and the private part that follows.
std::vector<std::uint8_t> DevModeBytes(const DEVMODEW* devmode) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(devmode);
    return {bytes, bytes + devmode->dmSize + devmode->dmDriverExtra};
}

void FillPrinter(InfoPacker& packer, const norvane::platform::PrinterInfo2& printer,
                 PRINTER_INFO_2W& info) {
    if (!printer.serverName.empty())
        info.pServerName = packer.Text(printer.serverName);
    info.pPrinterName = packer.Text(printer.printerName);
    info.pShareName = packer.Text(printer.shareName);
    info.pPortName = packer.Text(printer.portName);
    info.pDriverName = packer.Text(printer.driverName);
    info.pPrintProcessor = packer.Text(printer.printProcessor);
    info.Attributes = printer.attributes;
    info.cJobs = printer.jobs;
}

}  // namespace

extern "C" {

WINBOOL WINAPI EnumPrinterDriversW(LPWSTR pName, LPWSTR pEnvironment, DWORD Level,
                                   LPBYTE pDriverInfo, DWORD cbBuf, LPDWORD pcbNeeded,
                                   LPDWORD pcReturned) {
    if (!IsLocal(pName))
        return Fail(ERROR_INVALID_NAME);
    if (Level != 6 && Level != 8)
        return Fail(ERROR_INVALID_LEVEL);
    if (!pcbNeeded || !pcReturned)
        return Fail(RPC_X_NULL_REF_POINTER);
    Call call;
    std::vector<norvane::platform::DriverInfo6> drivers;
    if (const WinError error = call.Spooler().EnumDrivers(Text(pEnvironment), drivers))
        return Fail(error);
    if (Level == 6) {
        return ReturnInfos<DRIVER_INFO_6W>(drivers, pDriverInfo, cbBuf, pcbNeeded, pcReturned,
                                           FillDriver6);
    }
    std::vector<Driver8> withProcessors;
    for (auto& driver : drivers) {
        Driver8& item = withProcessors.emplace_back();
        call.Spooler().GetDriverPrintProcessor(Text(pEnvironment), driver.name,
                                               item.printProcessor);
        item.driver = std::move(driver);
    }
    return ReturnInfos<DRIVER_INFO_8W>(withProcessors, pDriverInfo, cbBuf, pcbNeeded, pcReturned,
                                       FillDriver8);
}

WINBOOL WINAPI EnumPrintersW(DWORD Flags, LPWSTR Name, DWORD Level, LPBYTE pPrinterEnum,
                             DWORD cbBuf, LPDWORD pcbNeeded, LPDWORD pcReturned) {
    if (!IsLocal(Name))
        return Fail(ERROR_INVALID_NAME);
    if (Level != 2)
        return Fail(ERROR_INVALID_LEVEL);
    if (!pcbNeeded || !pcReturned)
        return Fail(RPC_X_NULL_REF_POINTER);
    Call call;
    std::vector<norvane::platform::PrinterInfo2> printers;
    if (const WinError error = call.Spooler().EnumPrinters(Flags, printers))
        return Fail(error);
    return ReturnInfos<PRINTER_INFO_2W>(printers, pPrinterEnum, cbBuf, pcbNeeded, pcReturned,
                                        FillPrinter);
}

WINBOOL WINAPI OpenPrinterW(LPWSTR pPrinterName, LPHANDLE phPrinter, LPPRINTER_DEFAULTSW pDefault) {
    if (!phPrinter)
        return Fail(ERROR_INVALID_PARAMETER);
    *phPrinter = nullptr;
    Call call;
    std::unique_ptr<norvane::platform::Printer> printer;
    if (const WinError error = call.Spooler().OpenPrinter(
            Text(pPrinterName), pDefault ? pDefault->DesiredAccess : 0, printer)) {
        return Fail(error);
    }
    *phPrinter = call.host.Add(std::move(printer));
    return TRUE;
}

WINBOOL WINAPI ClosePrinter(HANDLE hPrinter) {
    Call call;
    return call.host.Close(hPrinter) ? TRUE : Fail(ERROR_INVALID_HANDLE);
}

HANDLE WINAPI AddPrinterW(LPWSTR pName, DWORD Level, LPBYTE pPrinter) {
    if (!IsLocal(pName)) {
        SetLastError(ERROR_INVALID_NAME);
        return nullptr;
    }
    if (Level != 2 || !pPrinter) {
        SetLastError(Level != 2 ? ERROR_INVALID_LEVEL : ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const auto* given = reinterpret_cast<const PRINTER_INFO_2W*>(pPrinter);
    norvane::platform::PrinterInfo2 info;
    info.printerName = Text(given->pPrinterName);
    info.shareName = Text(given->pShareName);
    info.portName = Text(given->pPortName);
    info.driverName = Text(given->pDriverName);
    info.printProcessor = Text(given->pPrintProcessor);
    info.attributes = given->Attributes;
    Call call;
    std::unique_ptr<norvane::platform::Printer> printer;
    if (const WinError error = call.Spooler().AddPrinter(info, printer)) {
        SetLastError(error);
        return nullptr;
    }
    return call.host.Add(std::move(printer));
}

WINBOOL WINAPI SetPrinterW(HANDLE hPrinter, DWORD Level, LPBYTE pPrinter, DWORD Command) {
    Call call;
    norvane::platform::Printer* printer = call.host.Find(hPrinter);
    if (!printer)
        return Fail(ERROR_INVALID_HANDLE);
    // Level 0 carries a command and no structure, level 8 the printer's DEVMODE; the printer's
    // other data is not answered.
    if (Level == 8) {
        const auto* info = reinterpret_cast<const PRINTER_INFO_8W*>(pPrinter);
        if (!info || !info->pDevMode)
            return Fail(ERROR_INVALID_PARAMETER);
        return Result(printer->SetDefaultDevMode(DevModeBytes(info->pDevMode)));
    }
    if (Level != 0)
        return Fail(ERROR_INVALID_LEVEL);
    return Result(printer->Control(Command));
}

WINBOOL WINAPI DeletePrinter(HANDLE hPrinter) {
    Call call;
    norvane::platform::Printer* printer = call.host.Find(hPrinter);
    return printer ? Result(printer->Delete()) : Fail(ERROR_INVALID_HANDLE);
}

LONG WINAPI DocumentPropertiesW(HWND, HANDLE hPrinter, LPWSTR, PDEVMODEW pDevModeOutput,
                                PDEVMODEW pDevModeInput, DWORD fMode) {
    Call call;
    norvane::platform::Printer* printer = call.host.Find(hPrinter);
    if (!printer) {
        SetLastError(ERROR_INVALID_HANDLE);
        return -1;
    }
    std::vector<std::uint8_t> devmode;
    // With DM_IN_BUFFER the driver answers with what it makes of the caller's DEVMODE.
    const WinError error = fMode & DM_IN_BUFFER
                               ? (pDevModeInput ? printer->MergeDocumentProperties(
                                                      DevModeBytes(pDevModeInput), devmode)
                                                : ERROR_INVALID_PARAMETER)
                               : printer->DocumentProperties(devmode);
    if (error) {
        SetLastError(error);
        return -1;
    }
    // With no mode the answer is the size of the whole DEVMODE, public and private parts; with
    // DM_OUT_BUFFER the DEVMODE itself, into a buffer of that size.
    if (fMode == 0)
        return static_cast<LONG>(devmode.size());
    if (fMode & DM_OUT_BUFFER) {
        if (!pDevModeOutput) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return -1;
        }
        std::memcpy(pDevModeOutput, devmode.data(), devmode.size());
    }
    return IDOK;
}

WINBOOL WINAPI GetPrinterDriverW(HANDLE hPrinter, LPWSTR pEnvironment, DWORD Level,
                                 LPBYTE pDriverInfo, DWORD cbBuf, LPDWORD pcbNeeded) {
    if (Level != 3)
        return Fail(ERROR_INVALID_LEVEL);
    if (!pcbNeeded)
        return Fail(RPC_X_NULL_REF_POINTER);
    Call call;
    norvane::platform::Printer* printer = call.host.Find(hPrinter);
    if (!printer)
        return Fail(ERROR_INVALID_HANDLE);
    norvane::platform::DriverInfo3 driver;
    if (const WinError error = printer->GetDriver(Text(pEnvironment), driver))
        return Fail(error);
    return ReturnInfos<DRIVER_INFO_3W>(std::vector{driver}, pDriverInfo, cbBuf, pcbNeeded, nullptr,
                                       FillDriver<norvane::platform::DriverInfo3, DRIVER_INFO_3W>);
}

WINBOOL WINAPI DeletePrinterConnectionW(LPWSTR pName) {
    Call call;
    return Result(call.Spooler().DeletePrinterConnection(Text(pName)));
}

WINBOOL WINAPI DeletePrinterDriverExW(LPWSTR pName, LPWSTR pEnvironment, LPWSTR pDriverName,
                                      DWORD dwDeleteFlag, DWORD) {
    if (!IsLocal(pName))
        return Fail(ERROR_INVALID_NAME);
    Call call;
    return Result(
        call.Spooler().DeletePrinterDriver(Text(pEnvironment), Text(pDriverName), dwDeleteFlag));
}

WINBOOL WINAPI DeleteMonitorW(LPWSTR pName, LPWSTR, LPWSTR pMonitorName) {
    if (!IsLocal(pName))
        return Fail(ERROR_INVALID_NAME);
    Call call;
    return Result(call.Spooler().DeleteMonitor(Text(pMonitorName)));
}

WINBOOL WINAPI DeletePrintProcessorW(LPWSTR pName, LPWSTR pEnvironment,
                                     LPWSTR pPrintProcessorName) {
    if (!IsLocal(pName))
        return Fail(ERROR_INVALID_NAME);
    Call call;
    return Result(
        call.Spooler().DeletePrintProcessor(Text(pEnvironment), Text(pPrintProcessorName)));
}

WINBOOL WINAPI GetDefaultPrinterW(LPWSTR pszBuffer, LPDWORD pcchBuffer) {
    if (!pcchBuffer)
        return Fail(ERROR_INVALID_PARAMETER);
    Call call;
    std::wstring name;
    if (const WinError error = call.Spooler().GetDefaultPrinter(name))
        return Fail(error);
    // The size in characters, the terminator included, whether the name fits or not.
    const DWORD needed = static_cast<DWORD>(name.size() + 1);
    const DWORD given = *pcchBuffer;
    *pcchBuffer = needed;
    if (!pszBuffer || given < needed)
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    std::memcpy(pszBuffer, name.c_str(), needed * sizeof(wchar_t));
    return TRUE;
}

WINBOOL WINAPI SetDefaultPrinterW(LPCWSTR pszPrinter) {
    Call call;
    return Result(call.Spooler().SetDefaultPrinter(Text(pszPrinter)));
}

}  // extern "C"
