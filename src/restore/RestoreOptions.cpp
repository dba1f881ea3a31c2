#include "restore/RestoreOptions.h"

#include "support/Text.h"

namespace norvane::restore {

bool ParseRestoreOptions(const std::vector<std::wstring>& args, RestoreOptions& options,
                         std::wstring& error) {
    options = {};
    bool folderGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        if (text::EqualsNoCase(arg, L"/n")) {
            options.dryRun = true;
        } else if (text::EqualsNoCase(arg, L"/v")) {
            options.trace = true;
            if (i + 1 < args.size() && !args[i + 1].starts_with(L"/"))
                options.traceFile = args[++i];
        } else if (arg == L"/?") {
            options.help = true;
        } else if (text::EqualsNoCase(arg, L"/m")) {
            const std::wstring pair = i + 1 < args.size() ? args[++i] : std::wstring();
            const std::size_t equals = pair.find(L'=');
            const std::wstring from = text::Trim(pair.substr(0, equals));
            const std::wstring to =
                equals == std::wstring::npos ? std::wstring() : text::Trim(pair.substr(equals + 1));
            if (from.empty() || to.empty()) {
                error = L"/m needs OLD=NEW, two driver names";
                return false;
            }
            for (const auto& mapped : options.driverMap) {
                if (text::EqualsNoCase(mapped.first, from)) {
                    error = L"the driver \"" + from + L"\" is mapped twice";
                    return false;
                }
            }
            options.driverMap.emplace_back(from, to);
        } else if (arg.starts_with(L"/")) {
            error = L"unknown switch " + arg;
            return false;
        } else if (folderGiven) {
            error = L"a second log folder: " + arg;
            return false;
        } else {
            options.logFolder = arg;
            folderGiven = true;
        }
    }
    return true;
}

std::wstring MappedDriver(const RestoreOptions& options, const std::wstring& driver) {
    for (const auto& [from, to] : options.driverMap) {
        if (text::EqualsNoCase(from, driver))
            return to;
    }
    return driver;
}

}  // namespace norvane::restore
