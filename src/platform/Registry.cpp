#include "platform/Registry.h"

namespace norvane::platform {

WinError Registry::QueryValueOfAnySize(RootKey root, const std::wstring& path,
                                       const std::wstring& name, RegValue& value) {
    for (;;) {
        std::uint32_t size = 0;
        if (const WinError error = QueryValueSize(root, path, name, size))
            return error;
        if (const WinError error = QueryValue(root, path, name, size, value);
            error != win::kMoreData)
            return error;
    }
}

std::optional<std::wstring> FindSubkey(Registry& registry, RootKey root, const std::wstring& path,
                                       const std::wstring& name) {
    std::wstring stored;
    if (name.empty() || name.find(L'\\') != std::wstring::npos ||
        registry.KeyName(root, path + L"\\" + name, stored) != win::kSuccess) {
        return std::nullopt;
    }
    return stored;
}

}  // namespace norvane::platform
