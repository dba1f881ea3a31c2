#include "platform/preview/PreviewRegistry.h"

#include "platform/ChangeText.h"
#include "support/Text.h"

namespace norvane::preview {

namespace win = platform::win;
using platform::FullKeyName;
using platform::RegValue;
using platform::RootKey;

bool PreviewRegistry::KeyExists(RootKey root, const std::wstring& path) {
    // The nearest change above or at the key decides; without one the machine does.
    if (const auto gone =
            NearestGone(FoldedPath(FullKeyName(root, path)), m_deletedKeys, m_madeKeys))
        return !*gone;
    return m_machine.OpenKey(root, path, platform::RegAccess::Read) == win::kSuccess;
}

const PreviewRegistry::ValueChange* PreviewRegistry::Changed(RootKey root, const std::wstring& path,
                                                             const std::wstring& name) const {
    const auto key = m_values.find(FoldedPath(FullKeyName(root, path)));
    if (key == m_values.end())
        return nullptr;
    const auto value = key->second.find(text::LowerAscii(name));
    return value == key->second.end() ? nullptr : &value->second.second;
}

platform::WinError PreviewRegistry::OpenKey(RootKey root, const std::wstring& path,
                                            platform::RegAccess access) {
    if (!KeyExists(root, path))
        return win::kFileNotFound;
    const std::wstring full = FoldedPath(FullKeyName(root, path));
    return m_madeKeys.contains(full) ? win::kSuccess : m_machine.OpenKey(root, path, access);
}

platform::WinError PreviewRegistry::CreateKey(RootKey root, const std::wstring& path,
                                              bool* created) {
    const bool exists = KeyExists(root, path);
    if (created)
        *created = !exists;
    if (exists)
        return win::kSuccess;
    const std::wstring full = FullKeyName(root, path);
    m_changes.Add(L"RegCreateKey", {full});
    m_madeKeys.insert(FoldedPath(full));
    m_values.erase(FoldedPath(full));
    return win::kSuccess;
}

platform::WinError PreviewRegistry::DeleteKey(RootKey root, const std::wstring& path) {
    if (!KeyExists(root, path))
        return win::kFileNotFound;
    if (!SubkeyNames(root, path).empty())
        return win::kAccessDenied;
    const std::wstring full = FullKeyName(root, path);
    m_changes.Add(L"RegDeleteKey", {full});
    m_madeKeys.erase(FoldedPath(full));
    m_deletedKeys.insert(FoldedPath(full));
    m_values.erase(FoldedPath(full));
    return win::kSuccess;
}

std::vector<std::wstring> PreviewRegistry::SubkeyNames(RootKey root, const std::wstring& path) {
    std::vector<std::wstring> names;
    const std::wstring parent = FoldedPath(FullKeyName(root, path));
    std::wstring name;
    for (std::uint32_t i = 0; m_machine.EnumKey(root, path, i, name) == win::kSuccess; ++i) {
        if (KeyExists(root, path + L"\\" + name))
            names.push_back(name);
    }
    // Keys the preview made, after the machine's own.
    for (const auto& made : m_madeKeys) {
        if (made.size() <= parent.size() + 1 || !made.starts_with(parent + L"\\") ||
            made.find(L'\\', parent.size() + 1) != std::wstring::npos)
            continue;
        const std::wstring child = made.substr(parent.size() + 1);
        bool listed = false;
        for (const auto& existing : names)
            listed = listed || text::EqualsNoCase(existing, child);
        if (!listed)
            names.push_back(child);
    }
    return names;
}

platform::WinError PreviewRegistry::EnumKey(RootKey root, const std::wstring& path,
                                            std::uint32_t index, std::wstring& name) {
    if (!KeyExists(root, path))
        return win::kFileNotFound;
    const auto names = SubkeyNames(root, path);
    if (index >= names.size())
        return win::kNoMoreItems;
    name = names[index];
    return win::kSuccess;
}

platform::WinError PreviewRegistry::KeyName(RootKey root, const std::wstring& path,
                                            std::wstring& name) {
    if (!KeyExists(root, path))
        return win::kFileNotFound;
    if (m_madeKeys.contains(FoldedPath(FullKeyName(root, path)))) {
        name = path.substr(path.rfind(L'\\') + 1);
        return win::kSuccess;
    }
    return m_machine.KeyName(root, path, name);
}

platform::WinError PreviewRegistry::QueryValue(RootKey root, const std::wstring& path,
                                               const std::wstring& name, std::uint32_t maxBytes,
                                               RegValue& value) {
    if (!KeyExists(root, path))
        return win::kFileNotFound;
    if (const ValueChange* change = Changed(root, path, name)) {
        if (!*change)
            return win::kFileNotFound;
        if ((*change)->data.size() > maxBytes)
            return win::kMoreData;
        value = **change;
        return win::kSuccess;
    }
    return m_machine.QueryValue(root, path, name, maxBytes, value);
}

platform::WinError PreviewRegistry::QueryValueSize(RootKey root, const std::wstring& path,
                                                   const std::wstring& name, std::uint32_t& bytes) {
    if (!KeyExists(root, path))
        return win::kFileNotFound;
    if (const ValueChange* change = Changed(root, path, name)) {
        if (!*change)
            return win::kFileNotFound;
        bytes = static_cast<std::uint32_t>((*change)->data.size());
        return win::kSuccess;
    }
    return m_machine.QueryValueSize(root, path, name, bytes);
}

platform::WinError PreviewRegistry::SetValue(RootKey root, const std::wstring& path,
                                             const std::wstring& name, const RegValue& value) {
    if (!KeyExists(root, path))
        return win::kFileNotFound;
    const std::wstring full = FullKeyName(root, path);
    m_changes.Add(L"RegSetValue", {full, name});
    m_values[FoldedPath(full)][text::LowerAscii(name)] = {name, value};
    return win::kSuccess;
}

platform::WinError PreviewRegistry::DeleteValue(RootKey root, const std::wstring& path,
                                                const std::wstring& name) {
    std::uint32_t bytes = 0;
    if (const auto error = QueryValueSize(root, path, name, bytes))
        return error;
    const std::wstring full = FullKeyName(root, path);
    m_changes.Add(L"RegDeleteValue", {full, name});
    m_values[FoldedPath(full)][text::LowerAscii(name)] = {name, std::nullopt};
    return win::kSuccess;
}

platform::WinError PreviewRegistry::EnumValue(RootKey root, const std::wstring& path,
                                              std::uint32_t index, std::wstring& name,
                                              RegValue& value) {
    if (!KeyExists(root, path))
        return win::kFileNotFound;
    // The machine's values as changed, then the values the preview added.
    std::vector<std::pair<std::wstring, RegValue>> values;
    std::set<std::wstring> listed;
    const std::wstring full = FoldedPath(FullKeyName(root, path));
    const bool made = m_madeKeys.contains(full);
    std::wstring machineName;
    RegValue machineValue;
    for (std::uint32_t i = 0;
         !made && m_machine.EnumValue(root, path, i, machineName, machineValue) == win::kSuccess;
         ++i) {
        listed.insert(text::LowerAscii(machineName));
        const ValueChange* change = Changed(root, path, machineName);
        if (!change)
            values.emplace_back(machineName, machineValue);
        else if (*change)
            values.emplace_back(machineName, **change);
    }
    if (const auto key = m_values.find(full); key != m_values.end()) {
        for (const auto& [folded, named] : key->second) {
            if (!listed.contains(folded) && named.second)
                values.emplace_back(named.first, *named.second);
        }
    }
    if (index >= values.size())
        return win::kNoMoreItems;
    name = values[index].first;
    value = values[index].second;
    return win::kSuccess;
}

}  // namespace norvane::preview
