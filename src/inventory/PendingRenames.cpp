#include "inventory/PendingRenames.h"

#include "platform/WindowsKeys.h"
#include "support/Text.h"

namespace norvane {

int IsFilePending(platform::Platform& platform, const std::wstring& fileName) {
    if (fileName.empty())
        return 0;
    platform::RegValue value;
    if (platform.registry.QueryValueOfAnySize(
            platform::RootKey::LocalMachine, platform::kSessionManagerPath,
            platform::kPendingRenamesValue, value) != platform::win::kSuccess)
        return 0;
    // Sources and targets alternate, and a deletion's target is an empty string: every string of
    // the value is looked at, not only those before the first empty one.
    const std::wstring strings = text::FromUtf16Le(value.data.data(), value.data.size());
    for (const auto& path : text::Split(strings, L'\0')) {
        const std::wstring name = path.substr(path.find_last_of(L"\\/:") + 1);
        if (!name.empty() && text::EqualsNoCase(name, fileName))
            return 1;
    }
    return 0;
}

}  // namespace norvane
