#include "extras/ScannerRemoval.h"

#include "extras/ExternalProgram.h"
#include "extras/UninstallEntry.h"
#include "log/Results.h"
#include "log/RunContext.h"
#include "support/Text.h"

namespace norvane {

std::wstring LookUpSetupPath(RunContext& context, const std::wstring& guid) {
    const auto modifyPath =
        ReadUninstallValue(context.P().registry, guid, L"ModifyPath", kScannerEntryPrefix);
    if (!modifyPath)
        return L"";
    // "\"C:\\...\\setup.exe\" -runfromtemp": the text between the first and the last quote.
    const std::size_t first = modifyPath->find(L'"');
    const std::size_t last = modifyPath->rfind(L'"');
    if (first == std::wstring::npos || last == first)
        return L"";
    return modifyPath->substr(first + 1, last - first - 1);
}

int FindScanner(RunContext& context, const PackageConfig& config, ScannerRecords& scanners,
                const std::wstring& name) {
    const auto listed = config.NumberedList(L"Scanner", L"SD");
    for (std::size_t n = 0; n < listed.size(); ++n) {
        if (!text::EqualsNoCase(listed[n], name))
            continue;
        auto record = std::make_unique<CScannerDriverData>();
        record->m_pszGUID = config.Read(L"ScannerGUID", L"SID" + std::to_wstring(n + 1));
        if (record->m_pszGUID.empty())
            return 0;
        record->m_pszName = name;
        record->m_pszSetupPath = LookUpSetupPath(context, record->m_pszGUID);
        if (record->m_pszSetupPath.empty())
            return 0;
        record->m_bUninstallable = 1;
        scanners.push_back(std::move(record));
        return 1;
    }
    return 0;
}

namespace {

// The setup program leaves its result beside itself.
std::wstring ScannerSetupLog(const CScannerDriverData& record) {
    const std::wstring& setup = record.m_pszSetupPath;
    const std::size_t slash = setup.rfind(L'\\');
    return (slash == std::wstring::npos ? L"" : setup.substr(0, slash + 1)) + L"setup.log";
}

}  // namespace

void ReadScannerResult(RunContext& context, CScannerDriverData& record) {
    record.m_bResultOK = ReadResultCode(context, ScannerSetupLog(record)) == 0 ? 1 : 0;
}

bool RunScannerSetup(RunContext& context, CScannerDriverData& record) {
    if (record.m_pszSetupPath.empty())
        return false;
    const std::wstring command = L"\"" + record.m_pszSetupPath + L"\" /s /zop8";
    if (!ClearResultFile(context.P(), ScannerSetupLog(record)) ||
        !RunAndWait(context.P(), command, Handover::Ignore))
        return false;
    ReadScannerResult(context, record);
    return true;
}

void RemoveScanners(RunContext& context, const ScannerRecords& scanners, ResultMap& results) {
    for (const auto& record : scanners) {
        if (!record->m_bUninstallable)
            continue;
        if (!RunScannerSetup(context, *record))
            record->m_bResultOK = 0;
        results[kScannerKey + record->m_pszName] = record->m_bResultOK ? L"0" : L"1";
    }
}

}  // namespace norvane
