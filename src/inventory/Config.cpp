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

const PackageConfig::NameIndex& PackageConfig::DriverIndex() const {
    if (!m_driverIndex) {
        m_driverIndex.emplace();
        const auto& drivers = NumberedList(L"Driver", L"D");
        for (std::size_t n = 0; n < drivers.size(); ++n)
            m_driverIndex->try_emplace(drivers[n], n);
    }
    return *m_driverIndex;
}

const PackageConfig::NameIndex& PackageConfig::SeriesIndex() const {
    if (!m_seriesIndex) {
        m_seriesIndex.emplace();
        const auto& series = NumberedList(L"DevSeries", L"X");
        for (std::size_t n = 0; n < series.size(); ++n) {
            for (const auto& piece : text::Split(series[n], L','))
                m_seriesIndex->try_emplace(text::Trim(piece), n);
        }
    }
    return *m_seriesIndex;
}

int PackageConfig::IsDriverInPackage(const std::wstring& driverName) const {
    return DriverIndex().contains(driverName) ? 1 : 0;
}

int PackageConfig::IsUtilityRemovalEnabled() const {
    return Read(L"DelUty", L"DelCode") == L"1" ? 1 : 0;
}

int PackageConfig::ExpandSeries(const std::wstring& driverName,
                                std::vector<std::wstring>& designated) const {
    NameSet listed(designated.begin(), designated.end());
    return ExpandSeries(driverName, designated, listed);
}

int PackageConfig::ExpandSeries(const std::wstring& driverName,
                                std::vector<std::wstring>& designated, NameSet& listed) const {
    const auto driver = DriverIndex().find(driverName);
    if (driver == DriverIndex().end())
        return 0;
    const std::wstring driverKey = L"D" + std::to_wstring(driver->second + 1);
    const auto series = SeriesIndex().find(driverKey);
    if (series == SeriesIndex().end())
        return 0;
    for (const auto& piece : text::Split(NumberedList(L"DevSeries", L"X")[series->second], L',')) {
        const std::wstring key = text::Trim(piece);
        if (key.empty())
            break;
        const std::wstring name = Read(L"Driver", key);
        if (listed.insert(name).second)
            designated.push_back(name);
    }
    return 1;
}

int PackageConfig::ResolveDriverList(const std::wstring& list,
                                     std::vector<std::wstring>& designated) const {
    NameSet listed(designated.begin(), designated.end());
    for (const auto& piece : text::Split(list, L',')) {
        const std::wstring name = text::Trim(piece);
        if (name.empty())
            continue;  // "/x A,,B" designates A and B, as every list switch reads its items
        if (!ExpandSeries(name, designated, listed)) {
            designated.push_back(name);
            listed.insert(name);
        }
    }
    return designated.empty() ? 0 : 1;
}

}  // namespace norvane
