#include "inventory/Records.h"

#include "support/Text.h"

namespace norvane {
namespace {

constexpr std::size_t kTitleBuffer = 260;
constexpr std::size_t kFamilyCodeBuffer = 20;

}  // namespace

std::wstring FileTitle(const std::wstring& path) {
    const auto slash = path.find_last_of(L"\\/:");
    return text::Bounded(slash == std::wstring::npos ? path : path.substr(slash + 1), kTitleBuffer);
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
// data folder. The first rule that applies wins.
void CDriverData::ComputeFamilyCode() {
    m_szFamilyCode.clear();
    auto prefixLength = [](const std::wstring& title, wchar_t stop) {
        const auto at = title.find(stop);
        return at == std::wstring::npos ? title.size() : at;
    };
    const std::wstring configTitle = m_pszConfigFile.empty() ? L"" : FileTitle(m_pszConfigFile);
    if (!m_pszConfigFile.empty() && prefixLength(configTitle, L'_') == 4) {
        m_szFamilyCode = configTitle.substr(0, 4);
        return;
    }
    for (const auto& file : m_pszDependentFiles) {
        const std::wstring title = FileTitle(file);
        if (prefixLength(title, L'.') == 4) {
            m_szFamilyCode = title.substr(0, 4);
            return;
        }
    }
    if (m_pszConfigFile.empty())
        return;
    // "ABCDEFUI" gives ABCDEF; "ABCDE_UI" is the "_UI" form and gives ABCDE, never a code that
    // ends with the separator.
    if (configTitle.find(L"UI") == 6 && configTitle[5] != L'_') {
        m_szFamilyCode = configTitle.substr(0, 6);
        return;
    }
    const auto underscoreUi = configTitle.find(L"_UI");
    if (underscoreUi != std::wstring::npos && underscoreUi > 4) {
        m_szFamilyCode = text::Bounded(configTitle.substr(0, underscoreUi), kFamilyCodeBuffer);
    }
}

CmyStringArray& CmyStringArray::operator=(const CmyStringArray& source) {
    if (this == &source) {
        const CmyStringArray copy(source);
        insert(end(), copy.begin(), copy.end());
    } else {
        insert(end(), source.begin(), source.end());
    }
    return *this;
}

}  // namespace norvane
