#include "inventory/Records.h"

#include "support/Text.h"
#include "support/WinPath.h"

namespace norvane {
namespace {

constexpr std::size_t kFamilyCodeBuffer = 20;

std::wstring FamilyCodeOf(const std::wstring& configFile,
                          const std::vector<std::wstring>& dependentFiles) {
    auto prefixLength = [](const std::wstring& title, wchar_t stop) {
        const auto at = title.find(stop);
        return at == std::wstring::npos ? title.size() : at;
    };
    const std::wstring configTitle = configFile.empty() ? L"" : FileTitle(configFile);
    if (!configFile.empty() && prefixLength(configTitle, L'_') == 4)
        return configTitle.substr(0, 4);
    for (const auto& file : dependentFiles) {
        const std::wstring title = FileTitle(file);
        if (prefixLength(title, L'.') == 4)
            return title.substr(0, 4);
    }
    if (configFile.empty())
        return L"";
    // "ABCDEFUI" gives ABCDEF; "ABCDE_UI" is the "_UI" form and gives ABCDE, never a code that
    // ends with the separator.
    if (configTitle.find(L"UI") == 6 && configTitle[5] != L'_')
        return configTitle.substr(0, 6);
    const auto underscoreUi = configTitle.find(L"_UI");
    if (underscoreUi != std::wstring::npos && underscoreUi > 4)
        return text::Bounded(configTitle.substr(0, underscoreUi), kFamilyCodeBuffer);
    return L"";
}

}  // namespace

std::wstring FileTitle(const std::wstring& path) {
    const auto slash = path.find_last_of(L"\\/:");
    return text::Bounded(slash == std::wstring::npos ? path : path.substr(slash + 1),
                         path::kMaxPath);
}

CDriverData::CDriverData(std::wstring driverName, std::vector<std::wstring> dependentFiles,
                         std::wstring monitorName, std::wstring hardwareId, std::wstring configFile)
    : m_pszDependentFiles(std::move(dependentFiles)),
      m_pszDriverName(std::move(driverName)),
      m_pszHardwareID(std::move(hardwareId)),
      m_pszMonitorName(std::move(monitorName)),
      m_pszConfigFile(std::move(configFile)) {
    ComputeFamilyCode();
}

void CDriverData::SetPrintProcessor(const std::wstring* name) {
    if (!name || text::EqualsNoCase(*name, L"WinPrint")) {
        m_pszPrintProcessor = std::wstring();
    } else {
        m_pszPrintProcessor = *name;
    }
}

// The family code is a short prefix of a driver file's name, used as the name of the driver's
// data folder. The first rule that applies wins. A code that is no usable folder name ("....",
// from a damaged "...._UI.DLL") is no code at all: as a folder name it would be the maker's
// folder itself.
void CDriverData::ComputeFamilyCode() {
    SetFamilyCode(FamilyCodeOf(m_pszConfigFile, m_pszDependentFiles));
}

void CDriverData::SetFamilyCode(const std::wstring& code) {
    m_szFamilyCode = path::IsPlainName(code) ? text::Bounded(code, kFamilyCodeBuffer) : L"";
}

}  // namespace norvane
