#include "restore/SavedPrinters.h"

#include <set>

#include "inventory/IniAcc.h"
#include "log/BackupNames.h"
#include "support/Text.h"
#include "support/WinPath.h"

namespace norvane::restore {
namespace {

// DEVMODEW: the sizes at dmSize and dmDriverExtra, and the public part up to dmFields that any
// version of it holds.
constexpr std::size_t kSizeAt = 68, kDriverExtraAt = 70, kSmallestPublicPart = 72;
// dmDeviceName: 32 UTF-16 units at the start, the last one kept for the null.
constexpr std::size_t kDeviceNameUnits = 31;
// dmSize and dmDriverExtra are 16-bit, so no DEVMODE is larger than this; a larger file is not
// read at all (a settings file may be a huge or sparse one put there by anyone).
constexpr std::uint64_t kLargestDevMode = 2 * 0xFFFFull;

std::size_t Word(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes[at] | static_cast<std::size_t>(bytes[at + 1]) << 8;
}

// The removal names a printer's settings file after the printer, with ".bin".
bool IsSettingsFileName(const std::wstring& name) {
    constexpr std::wstring_view kSuffix = L".bin";
    return name.size() > kSuffix.size() &&
           text::EqualsNoCase(std::wstring_view(name).substr(name.size() - kSuffix.size()),
                              kSuffix);
}

// The first 31 UTF-16 units of a name, A to Z folded.
std::wstring DeviceNamePart(std::wstring_view name) {
    const auto bytes = text::ToUtf16Le(name);
    const std::size_t units = std::min(bytes.size() / 2, kDeviceNameUnits);
    return text::LowerAscii(text::FromUtf16Le(bytes.data(), units * 2));
}

// dmDeviceName up to its null, A to Z folded.
std::wstring DeviceName(const std::vector<std::uint8_t>& devmode) {
    std::size_t units = 0;
    while (units < kDeviceNameUnits && (devmode[2 * units] | devmode[2 * units + 1]) != 0)
        ++units;
    return text::LowerAscii(text::FromUtf16Le(devmode.data(), units * 2));
}

}  // namespace

std::vector<SavedPrinter> ReadSavedPrinters(platform::Platform& platform,
                                            const std::wstring& logFile) {
    CIniAcc log(platform.profile);
    log.SetFile(logFile);
    CmyStringArray sections;
    std::vector<SavedPrinter> printers;
    std::set<std::wstring> seen;
    const std::wstring prefix = kPrinterInfoPrefix;
    for (const auto& section : log.GetSections(sections)) {
        if (!section.starts_with(prefix) || !seen.insert(text::LowerAscii(section)).second)
            continue;
        SavedPrinter saved;
        saved.sectionName = section.substr(prefix.size());
        saved.printerName = log.GetString(section, L"Name");
        if (saved.printerName.empty())
            saved.printerName = saved.sectionName;
        saved.portName = log.GetString(section, L"PortName");
        saved.driverName = log.GetString(section, L"DriverName");
        saved.shareName = log.GetString(section, L"ShareName");
        saved.defaultFlag = log.GetString(section, L"Default");
        saved.devmodeFile = log.GetString(section, L"DEVMODE");
        saved.ownSettingsFile = log.GetString(section, L"SettingsFile");
        if (saved.ownSettingsFile.empty())
            saved.ownSettingsFile = backup::SettingsFileOfOldLogs(saved.printerName);
        printers.push_back(std::move(saved));
    }
    return printers;
}

std::vector<std::uint8_t> ReadSavedDevMode(platform::Platform& platform,
                                           const std::wstring& logFolder, const SavedPrinter& saved,
                                           std::wstring& problem) {
    problem.clear();
    std::vector<std::uint8_t> devmode;
    if (saved.devmodeFile.empty()) {
        problem = L"the removal saved no settings";
        return devmode;
    }
    const std::wstring path = IsSettingsFileName(saved.devmodeFile)
                                  ? path::FileInside(logFolder, saved.devmodeFile, path::kMaxPath)
                                  : std::wstring();
    if (path.empty()) {
        problem =
            L"the settings file \"" + saved.devmodeFile + L"\" is no .bin file of the log folder";
        return devmode;
    }
    if (!text::EqualsNoCase(saved.devmodeFile, saved.ownSettingsFile)) {
        problem = L"the settings file \"" + saved.devmodeFile +
                  L"\" is not the one the removal wrote for this printer (\"" +
                  saved.ownSettingsFile + L"\")";
        return devmode;
    }
    std::uint64_t size = 0;
    platform::WinError error = platform.files.GetFileSize(path, size);
    if (!error && size > kLargestDevMode) {
        problem = L"the settings file " + path + L" holds no whole DEVMODE: it is larger than any";
        return devmode;
    }
    if (!error)
        error = platform.files.ReadFile(path, devmode);
    if (error) {
        devmode.clear();
        problem = L"the settings file " + path + L" cannot be read (" + text::Decimal(error) + L")";
        return devmode;
    }
    if (devmode.size() < kSmallestPublicPart || Word(devmode, kSizeAt) < kSmallestPublicPart ||
        Word(devmode, kSizeAt) + Word(devmode, kDriverExtraAt) != devmode.size()) {
        devmode.clear();
        problem = L"the settings file " + path + L" holds no whole DEVMODE";
        return devmode;
    }
    // Settings another printer left in this file (a removal of earlier versions gave printers
    // whose names differ only in characters refused in file names one file).
    const std::wstring device = DeviceName(devmode);
    if (!device.empty() && device != DeviceNamePart(saved.printerName) &&
        device != DeviceNamePart(saved.driverName)) {
        devmode.clear();
        problem = L"the settings file " + path + L" holds the settings of another printer";
    }
    return devmode;
}

}  // namespace norvane::restore
