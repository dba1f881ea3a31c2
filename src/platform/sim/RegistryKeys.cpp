#include "platform/sim/RegistryKeys.h"

#include "support/Text.h"

namespace norvane::sim {

namespace win = platform::win;

const platform::RegValue* KeyValues::Find(const std::wstring& name) const {
    for (const auto& [valueName, value] : values) {
        if (text::EqualsNoCase(valueName, name))
            return &value;
    }
    return nullptr;
}

std::wstring KeyValues::String(const std::wstring& name) const {
    const platform::RegValue* value = Find(name);
    return value ? value->AsString() : std::wstring();
}

std::uint32_t KeyValues::Dword(const std::wstring& name) const {
    const platform::RegValue* value = Find(name);
    if (!value || value->type != platform::RegType::Dword || value->data.size() < 4)
        return 0;
    return value->data[0] | (value->data[1] << 8) | (value->data[2] << 16) |
           (static_cast<std::uint32_t>(value->data[3]) << 24);
}

platform::WinError ReadValues(platform::Registry& registry, platform::RootKey root,
                              const std::wstring& path, KeyValues& values) {
    values.values.clear();
    for (std::uint32_t index = 0;; ++index) {
        std::wstring name;
        platform::RegValue value;
        const platform::WinError error = registry.EnumValue(root, path, index, name, value);
        if (error == win::kNoMoreItems)
            return win::kSuccess;
        if (error != win::kSuccess)
            return error;
        values.values.emplace_back(std::move(name), std::move(value));
    }
}

std::vector<std::wstring> SubkeyNames(platform::Registry& registry, platform::RootKey root,
                                      const std::wstring& path) {
    std::vector<std::wstring> names;
    std::wstring name;
    while (registry.EnumKey(root, path, static_cast<std::uint32_t>(names.size()), name) ==
           win::kSuccess) {
        names.push_back(name);
    }
    return names;
}

platform::WinError DeleteTree(platform::Registry& registry, platform::RootKey root,
                              const std::wstring& path) {
    // Each deletion moves the next subkey to index 0.
    std::wstring subkey;
    while (registry.EnumKey(root, path, 0, subkey) == win::kSuccess) {
        if (const auto error = DeleteTree(registry, root, path + L"\\" + subkey))
            return error;
    }
    return registry.DeleteKey(root, path);
}

}  // namespace norvane::sim
