// The input is another program's INI file (a capability file, setup.log). The INI accessor must
// return every key list and value whole, as one read with a buffer large enough gives them.
#include <string>
#include <vector>

#include "FuzzTargets.h"
#include "inventory/IniAcc.h"
#include "platform/sim/ProfileEngine.h"
#include "targets/Scratch.h"

namespace norvane::fuzz {
namespace {

namespace fs = std::filesystem;

// The Profile service over one host file, whatever path the caller names.
class FileProfile final : public platform::Profile {
public:
    explicit FileProfile(fs::path file) : m_file(std::move(file)) {}

    std::uint32_t GetString(const wchar_t* section, const wchar_t* key, const wchar_t* dflt,
                            wchar_t* buffer, std::uint32_t size, const std::wstring&) override {
        return m_engine.GetString(section, key, dflt, buffer, size, m_file);
    }
    std::uint32_t GetInt(const wchar_t* section, const wchar_t* key, std::int32_t dflt,
                         const std::wstring&) override {
        return m_engine.GetInt(section, key, dflt, m_file);
    }
    platform::WinError WriteString(const wchar_t* section, const wchar_t* key, const wchar_t* value,
                                   const std::wstring&) override {
        return m_engine.WriteString(section, key, value, m_file);
    }
    platform::WinError WriteSection(const wchar_t* section, const wchar_t* keysAndValues,
                                    const std::wstring&) override {
        return m_engine.WriteSection(section, keysAndValues, m_file);
    }
    platform::WinError WriteSections(const std::vector<platform::ProfileSection>& sections,
                                     const std::wstring&) override {
        return m_engine.WriteSections(sections, m_file);
    }

private:
    fs::path m_file;
    sim::ProfileEngine m_engine;
};

// One read with room for anything the file holds: no character takes less than a byte.
std::wstring WholeRead(platform::Profile& profile, const wchar_t* section, const wchar_t* key,
                       const fs::path& file) {
    std::error_code ec;
    const auto size = static_cast<std::uint32_t>(fs::file_size(file, ec)) + 16;
    std::vector<wchar_t> buffer(size);
    return std::wstring(
        buffer.data(), profile.GetString(section, key, L"", buffer.data(), size, L"C:\\whole.ini"));
}

constexpr std::size_t kNamesRead = 8;

}  // namespace

void IniAccTarget(const std::uint8_t* data, std::size_t size) {
    const fs::path file = WriteScratch("other.ini", data, size);
    FileProfile profile(file);
    CIniAcc ini(profile);
    ini.SetFile(L"C:\\Windows\\System32\\spool\\drivers\\x64\\3\\FUZZ.CAP");

    std::wstring sections = WholeRead(profile, nullptr, nullptr, file);
    for (std::size_t s = 0, n = 0; s < sections.size() && n < kNamesRead; ++n) {
        const std::size_t end = sections.find(L'\0', s);
        const std::wstring section = sections.substr(s, end - s);
        s = end == std::wstring::npos ? sections.size() : end + 1;

        CmyStringArray keys{L"left over"};
        ini.GetKeys(section, keys);
        std::wstring joined;
        for (const auto& key : keys)
            joined += key + L'\0';
        FuzzExpect(joined == WholeRead(profile, section.c_str(), nullptr, file),
                   "GetKeys differs from a whole read of the key list");
        for (std::size_t k = 0; k < keys.size() && k < kNamesRead; ++k) {
            FuzzExpect(ini.GetString(section, keys[k]) ==
                           WholeRead(profile, section.c_str(), keys[k].c_str(), file),
                       "GetString differs from a whole read of the value");
        }
    }
}

}  // namespace norvane::fuzz
