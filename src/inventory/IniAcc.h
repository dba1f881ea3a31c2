// Reading INI files other than config.ini (printers' capability files) without a fixed value
// length: a read that may have been cut is repeated with a larger buffer.
#pragma once

#include <string>

#include "inventory/Records.h"
#include "platform/FileSystem.h"
#include "platform/Profile.h"

namespace norvane {

class CIniAcc {
public:
    explicit CIniAcc(platform::Profile& profile) : m_profile(profile) {}
    virtual ~CIniAcc() = default;

    void SetFile(const std::wstring& path) { m_strFile = path; }
    const std::wstring& File() const { return m_strFile; }
    // The value, whole; empty when the file, section or key is missing.
    std::wstring GetString(const std::wstring& section, const std::wstring& key) const;
    // Empties `list` and fills it with the section's key names in file order.
    CmyStringArray& GetKeys(const std::wstring& section, CmyStringArray& list) const;
    // Empties `list` and fills it with the file's section names in file order.
    CmyStringArray& GetSections(CmyStringArray& list) const;

protected:
    std::wstring m_strFile;

private:
    // The names of a list read: the keys of `section`, or the sections when it is null.
    CmyStringArray& Names(const wchar_t* section, CmyStringArray& list) const;

    platform::Profile& m_profile;
};

// The utilities' own INI file, "<current folder>UTL_PATH\INI_ZEMAUTL".
class CIniUtility : public CIniAcc {
public:
    CIniUtility(platform::Profile& profile, platform::FileSystem& files);
};

}  // namespace norvane
