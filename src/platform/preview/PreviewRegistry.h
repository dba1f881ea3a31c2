// The registry in a preview: reads see the keys and values as the changes so far would have left
// them, every change is recorded and answered as Windows would answer it, and the machine's
// registry stays as it is.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>

#include "platform/Registry.h"
#include "platform/preview/ChangeList.h"

namespace norvane::preview {

class PreviewRegistry : public platform::Registry {
public:
    PreviewRegistry(platform::Registry& machine, ChangeList& changes)
        : m_machine(machine), m_changes(changes) {}

    platform::WinError OpenKey(platform::RootKey root, const std::wstring& path,
                               platform::RegAccess access) override;
    platform::WinError CreateKey(platform::RootKey root, const std::wstring& path,
                                 bool* created) override;
    platform::WinError DeleteKey(platform::RootKey root, const std::wstring& path) override;
    platform::WinError EnumKey(platform::RootKey root, const std::wstring& path,
                               std::uint32_t index, std::wstring& name) override;
    platform::WinError KeyName(platform::RootKey root, const std::wstring& path,
                               std::wstring& name) override;
    platform::WinError QueryValue(platform::RootKey root, const std::wstring& path,
                                  const std::wstring& name, std::uint32_t maxBytes,
                                  platform::RegValue& value) override;
    platform::WinError QueryValueSize(platform::RootKey root, const std::wstring& path,
                                      const std::wstring& name, std::uint32_t& bytes) override;
    platform::WinError SetValue(platform::RootKey root, const std::wstring& path,
                                const std::wstring& name, const platform::RegValue& value) override;
    platform::WinError DeleteValue(platform::RootKey root, const std::wstring& path,
                                   const std::wstring& name) override;
    platform::WinError EnumValue(platform::RootKey root, const std::wstring& path,
                                 std::uint32_t index, std::wstring& name,
                                 platform::RegValue& value) override;

private:
    // A value as the changes so far left it: set (with its data), deleted (nullopt), or not
    // touched (no entry).
    using ValueChange = std::optional<platform::RegValue>;

    bool KeyExists(platform::RootKey root, const std::wstring& path);
    // The value's change, when the preview made one; null when the machine's value stands.
    const ValueChange* Changed(platform::RootKey root, const std::wstring& path,
                               const std::wstring& name) const;
    std::vector<std::wstring> SubkeyNames(platform::RootKey root, const std::wstring& path);

    platform::Registry& m_machine;
    ChangeList& m_changes;
    std::set<std::wstring> m_deletedKeys;  // folded full paths
    std::set<std::wstring> m_madeKeys;
    // By folded key path, then by folded value name: the value's name as written and its change.
    std::map<std::wstring, std::map<std::wstring, std::pair<std::wstring, ValueChange>>> m_values;
};

}  // namespace norvane::preview
