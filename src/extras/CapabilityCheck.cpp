#include "extras/CapabilityCheck.h"

#include "inventory/IniAcc.h"
#include "log/RunContext.h"
#include "support/Text.h"

namespace norvane {
namespace {

bool StartsWithNoCase(const std::wstring& text, const std::wstring& prefix) {
    return text.size() >= prefix.size() &&
           text::EqualsNoCase(std::wstring_view(text).substr(0, prefix.size()), prefix);
}

bool IsNetworkPrinter(const platform::PrinterInfo2& printer) {
    return !printer.serverName.empty() || printer.portName.starts_with(L'\\');
}

std::wstring AfterLastBackslash(const std::wstring& name) {
    return name.substr(name.find_last_of(L'\\') + 1);
}

std::vector<std::wstring> PrintersTakingPart(RunContext& context) {
    std::vector<platform::PrinterInfo2> printers;
    std::vector<std::wstring> names;
    if (context.P().spooler.EnumPrinters(
            platform::kPrinterEnumLocal | platform::kPrinterEnumConnections, printers) !=
        platform::win::kSuccess)
        return names;
    for (const auto& printer : printers) {
        // A shared printer of another computer counts only when it may be used from here.
        if (IsNetworkPrinter(printer)) {
            if (IsRemoteCapable(context, printer.printerName))
                names.push_back(printer.printerName);
        } else {
            names.push_back(AfterLastBackslash(printer.printerName));
        }
    }
    return names;
}

CIniAcc CapabilityFile(RunContext& context, const std::wstring& printerName) {
    CIniAcc file(context.P().profile);
    file.SetFile(FindCapabilityFile(context, printerName));
    return file;
}

// The section of the capability file that lists the printer's capabilities: the value of the
// first [Capability] key that starts with the maker's provider name.
std::wstring MakerSection(const CIniAcc& file, const std::wstring& provider) {
    CmyStringArray keys;
    for (const auto& key : file.GetKeys(L"Capability", keys)) {
        if (StartsWithNoCase(key, provider))
            return file.GetString(L"Capability", key);
    }
    return L"";
}

}  // namespace

std::wstring FindCapabilityFile(RunContext& context, const std::wstring& printerName) {
    std::unique_ptr<platform::Printer> printer;
    platform::DriverInfo3 driver;
    if (context.P().spooler.OpenPrinter(printerName, platform::kPrinterAccessUse, printer) ||
        printer->GetDriver(L"", driver))
        return L"";
    for (const auto& file : driver.dependentFiles) {
        if (file.size() < 4 ||
            !text::EqualsNoCase(std::wstring_view(file).substr(file.size() - 4), L".CAP"))
            continue;
        if (file.find(L':') != std::wstring::npos)
            return file;
        return driver.driverPath.substr(0, driver.driverPath.find_last_of(L'\\') + 1) + file;
    }
    return L"";
}

int IsRemoteCapable(RunContext& context, const std::wstring& printerName) {
    const CIniAcc file = CapabilityFile(context, printerName);
    if (file.File().empty())
        return 0;
    CmyStringArray keys;
    for (const auto& key : file.GetKeys(L"SEC_CAPABILITY", keys)) {
        const std::wstring remote =
            file.GetString(file.GetString(L"SEC_CAPABILITY", key), L"SEC_REMOTE");
        if (!remote.empty() && remote != L"0")
            return 1;
    }
    return 0;
}

void MarkUtilitiesInUse(RunContext& context, const PackageConfig& config, UtilityEntries& entries,
                        const std::wstring& printerName) {
    const std::wstring provider =
        config.Read(L"Common", L"OEMPROVIDER", PackageConfig::kCommonBuffer);
    const CIniAcc file = CapabilityFile(context, printerName);
    if (file.File().empty())
        return;
    const std::wstring section = MakerSection(file, provider);
    if (section.empty())
        return;
    for (auto& entry : entries) {
        if (entry.strKey.empty())
            continue;  // a utility no capability asks for
        const std::wstring value = file.GetString(section, entry.strKey);
        // An entry without a value is needed whenever the printer sets its key at all.
        if (entry.strValue.empty() ? !value.empty() : text::EqualsNoCase(value, entry.strValue))
            entry.nInUse = 1;
    }
}

void CheckCapabilities(RunContext& context, const PackageConfig& config, UtilityEntries& entries,
                       CapabilityTable& table) {
    // The utilities' own INI file is opened for the length of the check, as they expect.
    const CIniUtility utilityIni(context.P().profile, context.P().files);
    table.printers = PrintersTakingPart(context);
    for (const auto& name : table.printers)
        MarkUtilitiesInUse(context, config, entries, name);
}

}  // namespace norvane
