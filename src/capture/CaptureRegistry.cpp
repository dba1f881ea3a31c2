#include "capture/CaptureRegistry.h"

#include <algorithm>

#include "extras/UninstallEntry.h"
#include "extras/UtilityTable.h"
#include "platform/RegText.h"
#include "platform/SpoolerRefusals.h"
#include "platform/WindowsKeys.h"
#include "removal/PutOff.h"
#include "support/Text.h"

namespace norvane::capture {
namespace {

namespace win = platform::win;
using platform::RootKey;
using Kind = RegistryScope::Kind;

// The printers' saved DEVMODE, the one value below the print key that holds a user's settings.
constexpr wchar_t kDevModeValue[] = L"Default DevMode";
// DEVMODEW: dmDeviceName (32 WCHARs), dmSpecVersion, dmDriverVersion, dmSize, dmDriverExtra.
constexpr std::size_t kDevModeHeaderBytes = 72;
// A printer's driver-private settings (SetPrinterData), which may hold a user's account code or
// a PIN: the program never reads them, so the key is kept and its values are not.
bool IsDriverData(const std::wstring& path) {
    const std::wstring printers = std::wstring(platform::kPrintKeyPath) + L"\\Printers\\";
    if (path.size() <= printers.size() ||
        !text::EqualsNoCase(std::wstring_view(path).substr(0, printers.size()), printers))
        return false;
    // <printer>\PrinterDriverData and below: a printer's name holds no backslash.
    const auto names = text::Split(path.substr(printers.size()), L'\\');
    return names.size() >= 2 && text::EqualsNoCase(names[1], L"PrinterDriverData");
}

std::wstring RootName(RootKey root) {
    return root == RootKey::CurrentUser ? L"HKEY_CURRENT_USER" : L"HKEY_LOCAL_MACHINE";
}

std::wstring ErrorNote(const wchar_t* what, const std::wstring& path, platform::WinError error) {
    return std::wstring(what) + L" " + path + L": error " + std::to_wstring(error);
}

class Walk {
public:
    Walk(platform::Registry& registry, CaptureCounts& counts)
        : m_registry(registry), m_counts(counts) {}

    void Scope(const RegistryScope& scope) {
        const platform::WinError open =
            m_registry.OpenKey(scope.root, scope.path, platform::RegAccess::Read);
        if (open == win::kFileNotFound)
            return;
        const std::wstring name = RootName(scope.root) + L"\\" + scope.path;
        if (open != win::kSuccess) {
            m_counts.unread.push_back(ErrorNote(L"key", name, open));
            return;
        }
        if (scope.kind == Kind::Value) {
            platform::RegValue value;
            const auto read =
                m_registry.QueryValueOfAnySize(scope.root, scope.path, scope.value, value);
            if (read == win::kSuccess)
                Key(name, {{scope.value, std::move(value)}});
            else if (read != win::kFileNotFound)
                m_counts.unread.push_back(ErrorNote(L"value", name + L"\\" + scope.value, read));
            return;
        }
        if (scope.kind == Kind::KeyOnly) {
            Key(name, {});
            return;
        }
        // Depth first with a stack of its own: a print server's keys are many, not deep, but
        // a damaged registry may be both.
        std::vector<std::wstring> pending{scope.path};
        while (!pending.empty()) {
            const std::wstring path = std::move(pending.back());
            pending.pop_back();
            const std::wstring full = RootName(scope.root) + L"\\" + path;
            // A key the user may not open is left out with its subtree: written empty, it would
            // tell the replay of a key that holds nothing.
            const auto opened = m_registry.OpenKey(scope.root, path, platform::RegAccess::Read);
            if (opened != win::kSuccess) {
                m_counts.unread.push_back(ErrorNote(L"key", full, opened));
                continue;
            }
            Key(full, Values(scope.root, path, full));
            const auto subkeys = Subkeys(scope.root, path, full);
            for (auto it = subkeys.rbegin(); it != subkeys.rend(); ++it)
                pending.push_back(path + L"\\" + *it);
        }
    }

    std::string Text() const { return text::ToUtf8(m_out + L"\r\n"); }

private:
    platform::RegValues Values(RootKey root, const std::wstring& path, const std::wstring& full) {
        platform::RegValues values;
        std::wstring name;
        platform::RegValue value;
        for (std::uint32_t i = 0;; ++i) {
            const auto read = m_registry.EnumValue(root, path, i, name, value);
            if (read == win::kNoMoreItems)
                break;
            if (read != win::kSuccess) {
                m_counts.unread.push_back(ErrorNote(L"values of", full, read));
                break;
            }
            if (IsDriverData(path)) {
                ++m_counts.valuesLeftOut;
                continue;
            }
            if (text::EqualsNoCase(name, kDevModeValue) && value.type == platform::RegType::Binary)
                value.data = WithoutSettings(value.data);
            values.emplace_back(name, value);
        }
        return values;
    }

    std::vector<std::wstring> Subkeys(RootKey root, const std::wstring& path,
                                      const std::wstring& full) {
        std::vector<std::wstring> names;
        std::wstring name;
        for (std::uint32_t i = 0;; ++i) {
            const auto read = m_registry.EnumKey(root, path, i, name);
            if (read == win::kNoMoreItems)
                break;
            if (read != win::kSuccess) {
                m_counts.unread.push_back(ErrorNote(L"subkeys of", full, read));
                break;
            }
            names.push_back(name);
        }
        return names;
    }

    void Key(const std::wstring& name, const platform::RegValues& values) {
        platform::AppendRegKey(m_out, name, values);
        ++m_counts.keys;
        m_counts.values += values.size();
    }

    platform::Registry& m_registry;
    CaptureCounts& m_counts;
    std::wstring m_out = std::wstring(platform::kRegFileHeader) + L"\r\n";
};

}  // namespace

std::vector<RegistryScope> RegistryScopes(const PackageConfig& config) {
    std::vector<RegistryScope> scopes = {
        {RootKey::LocalMachine, platform::kPrintKeyPath},
        {RootKey::LocalMachine, platform::kLocalPortsPath},
        {RootKey::LocalMachine, platform::kUsbPrintersPath},
        {RootKey::LocalMachine, kRunOnceKey},
        {RootKey::LocalMachine, platform::kSessionManagerPath, Kind::Value,
         platform::kPendingRenamesValue},
        // Which view the entries are looked up in depends on whether the 32-bit one exists.
        {RootKey::LocalMachine, kUninstall32, Kind::KeyOnly},
        {RootKey::LocalMachine, kUninstall, Kind::KeyOnly},
        {RootKey::CurrentUser, platform::kConnectionsPath},
        {RootKey::CurrentUser, platform::kUserWindowsPath, Kind::Value,
         platform::kDefaultPrinterValue},
    };
    const std::wstring maker = config.Read(L"Common", L"OEMREGPATH", PackageConfig::kCommonBuffer);
    const std::wstring program =
        config.Read(L"Common", L"OEMREGNORVANEPATH", PackageConfig::kCommonBuffer);
    if (!maker.empty())
        scopes.push_back({RootKey::LocalMachine, maker});
    // The program key lies below the maker key, where config.ini puts it; else it is read apart.
    if (!program.empty() && (maker.empty() || !text::EqualsNoCase(std::wstring_view(program).substr(
                                                                      0, maker.size() + 1),
                                                                  maker + L"\\")))
        scopes.push_back({RootKey::LocalMachine, program});
    // The entries the program reads: each utility's, and each scanner's "InstallShield_{GUID}".
    UtilityEntries utilities;
    ReadUtilityGUIDs(config, utilities);
    std::vector<std::wstring> entries;
    for (const auto& utility : utilities) {
        if (!utility.strGUID.empty())
            entries.push_back(L"{" + utility.strGUID + L"}");
    }
    for (const auto& guid : config.NumberedList(L"ScannerGUID", L"SID"))
        entries.push_back(std::wstring(kScannerEntryPrefix) + L"{" + guid + L"}");
    for (const auto& entry : entries) {
        for (const wchar_t* view : {kUninstall32, kUninstall})
            scopes.push_back({RootKey::LocalMachine, std::wstring(view) + L"\\" + entry});
    }
    return scopes;
}

std::string CaptureRegistry(platform::Registry& registry, const std::vector<RegistryScope>& scopes,
                            CaptureCounts& counts) {
    Walk walk(registry, counts);
    for (const auto& scope : scopes)
        walk.Scope(scope);
    return walk.Text();
}

std::vector<std::uint8_t> WithoutSettings(const std::vector<std::uint8_t>& devmode) {
    std::vector<std::uint8_t> kept(devmode.size(), 0);
    const std::size_t header = std::min(devmode.size(), kDevModeHeaderBytes);
    std::copy(devmode.begin(), devmode.begin() + static_cast<std::ptrdiff_t>(header), kept.begin());
    return kept;
}

}  // namespace norvane::capture
