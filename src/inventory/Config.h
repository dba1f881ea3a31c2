// config.ini beside the executable: the package's description of itself. Read on demand with the
// private-profile reader; the program never writes it, so a list read once is kept.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/Profile.h"
#include "support/Text.h"

namespace norvane {

class PackageConfig {
public:
    static constexpr std::uint32_t kValueBuffer = 260;
    static constexpr std::uint32_t kCommonBuffer = 256;

    // `path` is the program folder followed by "config.ini".
    PackageConfig(platform::Profile& profile, std::wstring path)
        : m_profile(profile), m_path(std::move(path)) {}

    const std::wstring& Path() const { return m_path; }
    // One value, cut to the buffer; the default when the value, section or file is missing.
    std::wstring Read(const wchar_t* section, const std::wstring& key,
                      std::uint32_t buffer = kValueBuffer, const wchar_t* defaultValue = L"") const;
    // prefix1, prefix2, ... up to the first empty value; read once, then kept.
    const std::vector<std::wstring>& NumberedList(const wchar_t* section,
                                                  const wchar_t* prefix) const;

    // Whether some [Driver] D<n> names the driver.
    int IsDriverInPackage(const std::wstring& driverName) const;
    // [DelUty] DelCode is "1".
    int IsUtilityRemovalEnabled() const;
    // When the driver belongs to a [DevSeries] series, appends every driver of that series that
    // is not already listed and returns 1; otherwise 0.
    int ExpandSeries(const std::wstring& driverName, std::vector<std::wstring>& designated) const;
    // The drivers designated by a comma-separated list: series expanded, other names as given.
    // Returns 1 when the list is not empty afterwards.
    int ResolveDriverList(const std::wstring& list, std::vector<std::wstring>& designated) const;

private:
    using NameIndex = std::map<std::wstring, std::size_t, text::NoCaseLess>;
    using NameSet = std::set<std::wstring, text::NoCaseLess>;

    // [Driver]'s names, each to the place of its first D<n> (0 for D1); built once.
    const NameIndex& DriverIndex() const;
    // Each driver key (D<n>) a [DevSeries] series names, to the place of the first series that
    // names it (0 for X1); built once.
    const NameIndex& SeriesIndex() const;
    // ExpandSeries, with `listed` holding the names `designated` holds.
    int ExpandSeries(const std::wstring& driverName, std::vector<std::wstring>& designated,
                     NameSet& listed) const;

    platform::Profile& m_profile;
    std::wstring m_path;
    mutable std::map<std::pair<std::wstring, std::wstring>, std::vector<std::wstring>> m_lists;
    // A print server's package lists thousands of drivers, each looked up once per driver.
    mutable std::optional<NameIndex> m_driverIndex, m_seriesIndex;
};

}  // namespace norvane
