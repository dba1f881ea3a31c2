#include "inventory/IniAcc.h"

#include <vector>

namespace norvane {
namespace {

constexpr std::uint32_t kFirstSize = 260;

}  // namespace

// Each read goes through the whole file, so the buffer doubles: a value of n characters costs
// a number of reads that grows with log n, not with n.
std::wstring CIniAcc::GrowingRead(const wchar_t* section, const wchar_t* key) const {
    for (std::uint32_t size = kFirstSize;; size *= 2) {
        std::vector<wchar_t> buffer(size, L'\0');
        const std::uint32_t count =
            m_profile.GetString(section, key, L"", buffer.data(), size, m_strFile);
        // A value that fills the buffer, or a list cut short, reads size - 1 or size - 2.
        if (count != size - 1 && count != size - 2)
            return std::wstring(buffer.data(), count);
    }
}

std::wstring CIniAcc::GetString(const std::wstring& section, const std::wstring& key) const {
    return GrowingRead(section.c_str(), key.c_str());
}

CmyStringArray& CIniAcc::GetKeys(const std::wstring& section, CmyStringArray& list) const {
    return Names(section.c_str(), list);
}

CmyStringArray& CIniAcc::GetSections(CmyStringArray& list) const {
    return Names(nullptr, list);
}

CmyStringArray& CIniAcc::Names(const wchar_t* section, CmyStringArray& list) const {
    list.clear();
    const std::wstring names = GrowingRead(section, nullptr);
    if (names.empty())
        return list;
    // Names are separated by nulls; the count includes the null after the last name.
    CmyStringArray found;
    std::wstring current;
    for (std::size_t i = 0; i + 1 < names.size(); ++i) {
        if (names[i] != L'\0') {
            current += names[i];
        } else {
            found.push_back(current);
            current.clear();
        }
    }
    found.push_back(current);
    list.insert(list.end(), found.begin(), found.end());
    return list;
}

CIniUtility::CIniUtility(platform::Profile& profile, platform::FileSystem& files)
    : CIniAcc(profile) {
    std::wstring folder;
    files.GetCurrentDirectory(folder);
    // The folder and "UTL_PATH" are joined without a separator, as the utilities expect.
    m_strFile = folder + L"UTL_PATH";
    if (!m_strFile.ends_with(L'\\'))
        m_strFile += L'\\';
    m_strFile += L"INI_ZEMAUTL";
}

}  // namespace norvane
