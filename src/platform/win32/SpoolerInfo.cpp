#include "platform/win32/SpoolerInfo.h"

#include "platform/win32/LastError.h"

namespace norvane::win32 {
namespace {

std::wstring Text(const wchar_t* text) {
    return text ? std::wstring(text) : std::wstring();
}

// A list of strings each ended by a null, the list ended by an empty one.
std::vector<std::wstring> MultiText(const wchar_t* list) {
    std::vector<std::wstring> items;
    for (const wchar_t* item = list; item && *item; item += items.back().size() + 1)
        items.emplace_back(item);
    return items;
}

// The fields that DRIVER_INFO_6W shares with DRIVER_INFO_3W, which it extends.
template <typename Driver, typename Info>
Driver CommonFields(const Info& info) {
    Driver driver;
    driver.name = Text(info.pName);
    driver.environment = Text(info.pEnvironment);
    driver.driverPath = Text(info.pDriverPath);
    driver.dataFile = Text(info.pDataFile);
    driver.configFile = Text(info.pConfigFile);
    driver.helpFile = Text(info.pHelpFile);
    driver.dependentFiles = MultiText(info.pDependentFiles);
    driver.monitorName = Text(info.pMonitorName);
    return driver;
}

}  // namespace

platform::WinError CallSized(const std::function<BOOL(BYTE*, DWORD, DWORD*)>& call, DWORD factor,
                             SpoolerBuffer& buffer) {
    DWORD needed = 0;
    buffer.Resize(0);
    if (call(nullptr, 0, &needed))
        return platform::win::kSuccess;
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return LastError();
    const DWORD size = needed * factor;
    buffer.Resize(size);
    return ErrorOf(call(buffer.Data(), size, &needed));
}

wchar_t* OptionalText(const std::wstring& text) {
    return text.empty() ? nullptr : MutableText(text);
}

wchar_t* MutableText(const std::wstring& text) {
    return const_cast<wchar_t*>(text.c_str());
}

platform::DriverInfo6 ConvertDriver(const DRIVER_INFO_6W& info) {
    auto driver = CommonFields<platform::DriverInfo6>(info);
    driver.defaultDataType = Text(info.pDefaultDataType);
    driver.hardwareId = Text(info.pszHardwareID);
    driver.manufacturer = Text(info.pszMfgName);
    if (info.pszProvider)
        driver.provider = info.pszProvider;
    return driver;
}

platform::DriverInfo3 ConvertDriver(const DRIVER_INFO_3W& info) {
    return CommonFields<platform::DriverInfo3>(info);
}

platform::PrinterInfo2 ConvertPrinter(const PRINTER_INFO_2W& info) {
    platform::PrinterInfo2 printer;
    printer.serverName = Text(info.pServerName);
    printer.printerName = Text(info.pPrinterName);
    printer.shareName = Text(info.pShareName);
    printer.portName = Text(info.pPortName);
    printer.driverName = Text(info.pDriverName);
    printer.printProcessor = Text(info.pPrintProcessor);
    printer.attributes = info.Attributes;
    printer.jobs = info.cJobs;
    return printer;
}

DriverPrintProcessor ConvertDriverPrintProcessor(const DRIVER_INFO_8W& info) {
    return {Text(info.pName), Text(info.pszPrintProcessor)};
}

}  // namespace norvane::win32
