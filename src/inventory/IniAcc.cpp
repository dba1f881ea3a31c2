#include "inventory/IniAcc.h"

#include <vector>

#include "platform/ProfileRead.h"

namespace norvane {

std::wstring CIniAcc::GetString(const std::wstring& section, const std::wstring& key) const {
    return platform::ReadWhole(m_profile, section.c_str(), key.c_str(), m_strFile);
}

CmyStringArray& CIniAcc::GetKeys(const std::wstring& section, CmyStringArray& list) const {
    return Names(section.c_str(), list);
}

CmyStringArray& CIniAcc::GetSections(CmyStringArray& list) const {
    return Names(nullptr, list);
}

CmyStringArray& CIniAcc::Names(const wchar_t* section, CmyStringArray& list) const {
    const std::vector<std::wstring> names = platform::ReadNames(m_profile, section, m_strFile);
    list.assign(names.begin(), names.end());
    return list;
}

CIniUtility::CIniUtility(platform::Profile& profile, platform::FileSystem& files)
    : CIniAcc(profile) {
    std::wstring folder;
    (void)files.GetCurrentDirectory(folder);
    // The folder and "UTL_PATH" are joined without a separator, as the utilities expect.
    m_strFile = folder + L"UTL_PATH";
    if (!m_strFile.ends_with(L'\\'))
        m_strFile += L'\\';
    m_strFile += L"INI_ZEMAUTL";
}

}  // namespace norvane
