// One small record per removable item: printers, printer drivers, scanner drivers and
// utilities, and the settings of a printer saved before it is deleted.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace norvane {

class CDriverData;

// A printer queue whose driver is one of the package's drivers.
class CPrinterData {
public:
    CPrinterData(std::wstring printerName, CDriverData* driver)
        : m_pszPrinterName(std::move(printerName)), m_pDriver(driver) {}

    const std::wstring& PrinterName() const { return m_pszPrinterName; }
    CDriverData* Driver() const { return m_pDriver; }
    int Selected() const { return m_bSelected; }
    void SetSelected(int selected) { m_bSelected = selected; }

private:
    std::wstring m_pszPrinterName;
    CDriverData* m_pDriver;  // not owned: points into the controller's driver array
    int m_bSelected = 0;
};

// An installed 64-bit printer driver of the package's provider.
class CDriverData {
public:
    // The five texts of the spooler's level-6 driver information.
    CDriverData(std::wstring driverName, std::vector<std::wstring> dependentFiles,
                std::wstring monitorName, std::wstring hardwareId, std::wstring configFile);

    int InPackage() const { return m_bInPackage; }
    void SetInPackage(int inPackage) { m_bInPackage = inPackage; }
    int PrinterCount() const { return m_nPrinterCount; }
    void SetPrinterCount(int count) { m_nPrinterCount = count; }
    const std::vector<std::wstring>& DependentFiles() const { return m_pszDependentFiles; }
    const std::wstring& DriverName() const { return m_pszDriverName; }
    const std::wstring& HardwareId() const { return m_pszHardwareID; }
    const std::wstring& MonitorName() const { return m_pszMonitorName; }
    const std::wstring& ConfigFile() const { return m_pszConfigFile; }
    // Unset until enumeration reads it; empty when the driver uses the system's "WinPrint".
    const std::optional<std::wstring>& PrintProcessor() const { return m_pszPrintProcessor; }
    // Stores a print processor name: a missing one or "WinPrint" (any case) becomes empty.
    void SetPrintProcessor(const std::wstring* name);
    int Selected() const { return m_bSelected; }
    void SetSelected(int selected) { m_bSelected = selected; }
    int HasX86Driver() const { return m_bHasX86Driver; }
    void SetHasX86Driver(int has) { m_bHasX86Driver = has; }
    int DeleteOK() const { return m_bDeleteOK; }
    void SetDeleteOK(int ok) { m_bDeleteOK = ok; }
    const std::wstring& FamilyCode() const { return m_szFamilyCode; }
    // For a driver known only from a record of it: the code as recorded, by the same rule.
    void SetFamilyCode(const std::wstring& code);

    // The paths the cleanup pass built for this driver's leftovers, kept for its log entries.
    std::wstring m_strDataFolder;
    std::wstring m_strDriverFolder;  // the spool subfolder named after the hardware ID
    std::wstring m_strMonitorPath;
    std::wstring m_strX64PrintProcessorPath;
    std::wstring m_strX86PrintProcessorPath;

private:
    void ComputeFamilyCode();

    int m_bInPackage = 1;
    int m_nPrinterCount = 0;
    std::vector<std::wstring> m_pszDependentFiles;
    std::wstring m_pszDriverName;
    std::wstring m_pszHardwareID;
    std::wstring m_pszMonitorName;
    std::optional<std::wstring> m_pszPrintProcessor;
    int m_bSelected = 0;
    std::wstring m_pszConfigFile;
    int m_bHasX86Driver = 0;
    int m_bDeleteOK = 1;
    std::wstring m_szFamilyCode;  // at most 19 characters
};

// A scanner driver named for a silent run.
struct CScannerDriverData {
    int m_bUninstallable = 0;
    int m_bResultOK = 0;
    std::wstring m_pszGUID;
    std::wstring m_pszName;
    std::wstring m_pszSetupPath;
};

// A companion utility.
struct CUtilityData {
    int m_bInstalled = 0;
    int m_bSelected = 0;
    int m_bResultOK = 0;
    std::wstring m_pszGUID;
    std::wstring m_pszUninstallString;
};

// A list of names: the command line's designations, the names read from INI files.
class CmyStringArray : public std::vector<std::wstring> {
public:
    using std::vector<std::wstring>::vector;
};

// The file-name part of a path, as GetFileTitleW gives it (extension kept), at most 259
// characters.
std::wstring FileTitle(const std::wstring& path);

}  // namespace norvane
