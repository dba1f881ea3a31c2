#include "capture/CaptureProgram.h"

#include <filesystem>

#include "capture/CaptureFacts.h"
#include "capture/CaptureFiles.h"
#include "capture/CaptureRegistry.h"
#include "capture/CaptureWriter.h"
#include "inventory/Config.h"
#include "support/Text.h"
#include "support/WinPath.h"

namespace norvane::capture {
namespace {

namespace fs = std::filesystem;

constexpr wchar_t kUsageLine[] = L"usage: NorvaneCapture [FOLDER] [/x SERIES | /d NAMES | /all]";

struct Options {
    std::wstring folder;
    enum class Drivers { Config, Series, Names, All } drivers = Drivers::Config;
    std::wstring list;
};

bool IsSwitch(const std::wstring& argument, const wchar_t* name) {
    return argument.size() > 1 && (argument[0] == L'/' || argument[0] == L'-') &&
           text::EqualsNoCase(std::wstring_view(argument).substr(1), name);
}

bool Parse(const std::vector<std::wstring>& arguments, Options& options) {
    bool chose = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        const bool series = IsSwitch(argument, L"x"), names = IsSwitch(argument, L"d");
        if (series || names || IsSwitch(argument, L"all")) {
            if (chose || ((series || names) && i + 1 == arguments.size()))
                return false;
            chose = true;
            options.drivers = series  ? Options::Drivers::Series
                              : names ? Options::Drivers::Names
                                      : Options::Drivers::All;
            if (series || names)
                options.list = arguments[++i];
        } else if (argument.starts_with(L'/') || argument.starts_with(L'-')) {
            return false;  // a switch this program does not know, never a folder's name
        } else if (options.folder.empty() && !argument.empty()) {
            options.folder = argument;
        } else {
            return false;
        }
    }
    return true;
}

ChosenDrivers Chosen(const PackageConfig& config, const Options& options) {
    std::vector<std::wstring> names;
    switch (options.drivers) {
        case Options::Drivers::All:
            return std::nullopt;
        case Options::Drivers::Config:
            names = config.NumberedList(L"Driver", L"D");
            break;
        case Options::Drivers::Series:
            (void)config.ResolveDriverList(options.list, names);
            break;
        case Options::Drivers::Names:
            for (const auto& name : text::Split(options.list, L','))
                names.push_back(text::Trim(name));
            break;
    }
    return ChosenDrivers(std::in_place, names.begin(), names.end());
}

std::wstring Count(std::uint64_t n, const wchar_t* what) {
    return std::to_wstring(n) + L" " + what;
}

}  // namespace

int RunCapture(platform::Platform& platform, const std::wstring& programPath,
               const std::wstring& version, const std::optional<std::wstring>& namedFolder,
               const std::vector<std::wstring>& arguments, std::vector<std::wstring>& lines,
               std::vector<std::wstring>& errors) {
    Options options;
    options.folder = namedFolder.value_or(L"");
    if (!Parse(arguments, options)) {
        errors.push_back(kUsageLine);
        return kUsage;
    }
    const CaptureNote note{StampOf(platform.clock.Now()), platform.system.ComputerName(), version};
    if (options.folder.empty()) {
        std::wstring stamp = note.time;
        std::erase(stamp, L'-');
        std::erase(stamp, L':');
        stamp[stamp.find(L'T')] = L'-';
        options.folder = L"NorvaneCapture-" + path::SafeFileName(note.computer) + L"-" + stamp;
    }
    const fs::path folder = HostName(options.folder);
    std::error_code ec;
    if (fs::exists(folder, ec) && (!fs::is_directory(folder, ec) || !fs::is_empty(folder, ec))) {
        errors.push_back(options.folder + L" is not an empty folder: nothing was written");
        return kNotEmpty;
    }
    fs::create_directories(folder, ec);
    if (ec || !fs::is_directory(folder, ec)) {
        errors.push_back(options.folder + L" cannot be made: nothing was written");
        return kNotWritten;
    }

    const std::wstring programFolder = programPath.substr(0, programPath.rfind(L'\\') + 1);
    const PackageConfig config(platform.profile, programFolder + L"config.ini");
    CaptureWriter writer(folder);
    CaptureCounts& counts = writer.Counts();
    (void)writer.Text("registry.reg",
                      CaptureRegistry(platform.registry, RegistryScopes(config), counts));
    CaptureFiles(platform, config, programPath, Chosen(config, options),
                 fs::absolute(folder, ec).wstring(), writer);
    (void)writer.Text("machine.json", MachineFacts(platform, programPath, note, counts));

    lines.push_back(L"Captured " + note.computer + L" into " + options.folder);
    lines.push_back(L"registry.reg: " + Count(counts.keys, L"keys") + L", " +
                    Count(counts.values, L"values") + L" (" +
                    Count(counts.valuesLeftOut, L"printer driver settings left out") + L")");
    lines.push_back(L"drive_c: " + Count(counts.wholeFiles, L"whole files") + L", " +
                    Count(counts.placeholders, L"placeholders") + L" (standing for " +
                    Count(counts.placeholderBytes, L"bytes") + L"), " +
                    Count(counts.folders, L"folders"));
    lines.push_back(L"machine.json: the facts and the capture note");
    lines.push_back(Count(counts.bytes, L"bytes written"));
    lines.push_back(L"Not read: " + std::to_wstring(counts.unread.size()));
    for (const auto& item : counts.unread)
        lines.push_back(L"  " + item);
    for (const auto& item : counts.unwritten)
        errors.push_back(L"not written: " + item);
    return counts.unwritten.empty() ? kCaptured : kNotWritten;
}

}  // namespace norvane::capture
