#include "inventory/Config.h"

#include "support/Text.h"

namespace norvane {

std::wstring PackageConfig::Read(const wchar_t* section, const std::wstring& key,
                                 std::uint32_t buffer, const wchar_t* defaultValue) const {
    std::vector<wchar_t> value(buffer, L'\0');
    m_profile.GetString(section, key.c_str(), defaultValue, value.data(), buffer, m_path);
    return std::wstring(value.data());
}

const std::vector<std::wstring>& PackageConfig::NumberedList(const wchar_t* section,
                                                             const wchar_t* prefix) const {
    const auto [it, added] = m_lists.try_emplace({section, prefix});
    std::vector<std::wstring>& values = it->second;
    if (!added)
        return values;
    for (int n = 1;; ++n) {
        std::wstring value = Read(section, prefix + std::to_wstring(n));
        if (value.empty())
            break;
        values.push_back(std::move(value));
    }
    return values;
}

int PackageConfig::IsDriverInPackage(const std::wstring& driverName) const {
    for (const auto& name : NumberedList(L"Driver", L"D")) {
        if (text::EqualsNoCase(name, driverName))
            return 1;
    }
    return 0;
}

int PackageConfig::IsUtilityRemovalEnabled() const {
    return Read(L"DelUty", L"DelCode") == L"1" ? 1 : 0;
}

int PackageConfig::ExpandSeries(const std::wstring& driverName,
                                std::vector<std::wstring>& designated) const {
    std::wstring driverKey;
    const auto& drivers = NumberedList(L"Driver", L"D");
    for (std::size_t n = 0; n < drivers.size() && driverKey.empty(); ++n) {
        if (text::EqualsNoCase(drivers[n], driverName))
            driverKey = L"D" + std::to_wstring(n + 1);
    }
    if (driverKey.empty())
        return 0;
    for (const auto& series : NumberedList(L"DevSeries", L"X")) {
        const auto pieces = text::Split(series, L',');
        bool member = false;
        for (const auto& piece : pieces)
            member = member || text::EqualsNoCase(text::Trim(piece), driverKey);
        if (!member)
            continue;
        for (const auto& piece : pieces) {
            const std::wstring key = text::Trim(piece);
            if (key.empty())
                break;
            const std::wstring name = Read(L"Driver", key);
            bool listed = false;
            for (const auto& existing : designated)
                listed = listed || text::EqualsNoCase(existing, name);
            if (!listed)
                designated.push_back(name);
        }
        return 1;
    }
    return 0;
}

int PackageConfig::ResolveDriverList(const std::wstring& list,
                                     std::vector<std::wstring>& designated) const {
    for (const auto& piece : text::Split(list, L',')) {
        const std::wstring name = text::Trim(piece);
        if (name.empty())
            continue;  // "/x A,,B" designates A and B, as every list switch reads its items
        if (!ExpandSeries(name, designated))
            designated.push_back(name);
    }
    return designated.empty() ? 0 : 1;
}

}  // namespace norvane
